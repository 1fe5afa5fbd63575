#!/usr/bin/env python3
"""Writes the generated seeds of the reader's fuzz corpus into corpus/.

Run by hand when a seed is to change; the files are committed. The saved
sample document (sample.doc) and inputs the fuzzer found are kept as they are.
With --runs N it writes one package of a paragraph of N runs to stdout.
"""
import io
import os
import sys
import zipfile

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
CONTENT_TYPES = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/></Types>')
ROOT_RELS = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"'
    ' Target="word/document.xml"/></Relationships>')
DOC_RELS = (
    '<?xml version="1.0" encoding="UTF-8"?>'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles"'
    ' Target="styles.xml"/></Relationships>')


def put(z, name, text):
    """Adds a part with a fixed date, so that the seeds come out the same each time."""
    info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    z.writestr(info, text, compresslevel=9)


def document(body):
    return f'<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="{W}"><w:body>{body}</w:body></w:document>'


def package(body, styles=None):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        put(z, "[Content_Types].xml", CONTENT_TYPES)
        put(z, "_rels/.rels", ROOT_RELS)
        put(z, "word/document.xml", document(body))
        if styles is not None:
            put(z, "word/_rels/document.xml.rels", DOC_RELS)
            put(z, "word/styles.xml", f'<?xml version="1.0" encoding="UTF-8"?><w:styles xmlns:w="{W}">{styles}</w:styles>')
    return out.getvalue()


def nested(open_tag, close_tag, levels, inner):
    return open_tag * levels + inner + close_tag * levels


def with_entities(references):
    """A main part that declares an entity of 4,000 characters and refers to it."""
    doc = (f'<?xml version="1.0"?><!DOCTYPE d [<!ENTITY e "{"x" * 4000}">]><w:document xmlns:w="{W}"><w:body>'
           f'<w:p><w:r><w:t>{"&e;" * references}</w:t></w:r></w:p></w:body></w:document>')
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        put(z, "_rels/.rels", ROOT_RELS)
        put(z, "word/document.xml", doc)
    return out.getvalue()


def many_runs(n):
    runs = "".join(f'<w:r>{"<w:rPr><w:b/></w:rPr>" if i % 2 else ""}<w:t xml:space="preserve">w{i % 10} </w:t></w:r>'
                   for i in range(n))
    return package(f"<w:p>{runs}</w:p>")


BIG = "2147483647"
SMALL = "-2147483648"
HUGE_RPR = (f'<w:rPr><w:sz w:val="{BIG}"/><w:kern w:val="{BIG}"/><w:position w:val="{SMALL}"/>'
            f'<w:w w:val="{BIG}"/><w:spacing w:val="{SMALL}"/></w:rPr>')
HUGE_NUMBERS = (
    f'<w:p><w:pPr><w:outlineLvl w:val="{BIG}"/><w:spacing w:before="{BIG}" w:after="{BIG}" w:line="{BIG}"/></w:pPr>'
    f'<w:r>{HUGE_RPR}<w:t>big</w:t></w:r>'
    f'<w:r><w:rPr><w:sz w:val="{SMALL}"/><w:w w:val="{SMALL}"/><w:position w:val="{BIG}"/></w:rPr><w:t>small</w:t></w:r></w:p>'
    f'<w:tbl><w:tblGrid><w:gridCol w:w="{BIG}"/><w:gridCol w:w="{BIG}"/><w:gridCol w:w="{SMALL}"/></w:tblGrid>'
    f'<w:tr><w:tc><w:tcPr><w:gridSpan w:val="{BIG}"/></w:tcPr><w:p><w:r><w:t>wide</w:t></w:r></w:p></w:tc>'
    f'<w:tc><w:tcPr><w:tcW w:w="{BIG}"/></w:tcPr><w:p/></w:tc></w:tr></w:tbl>'
    f'<w:sectPr><w:pgSz w:w="{BIG}" w:h="{SMALL}"/>'
    f'<w:pgMar w:top="{SMALL}" w:bottom="{SMALL}" w:left="{BIG}" w:right="{SMALL}" w:header="{BIG}" w:footer="{SMALL}"/></w:sectPr>')
HUGE_MARGINS = (
    '<w:p><w:r><w:t>margins</w:t></w:r></w:p>'
    f'<w:sectPr><w:pgSz w:w="12240" w:h="15840"/>'
    f'<w:pgMar w:top="{SMALL}" w:bottom="{SMALL}" w:left="{SMALL}" w:right="{BIG}"/></w:sectPr>')

SEEDS = {
    "minimal.docx": package('<w:p><w:r><w:t>Minutes</w:t></w:r></w:p>',
                            '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/>'
                            '<w:rPr><w:sz w:val="20"/></w:rPr></w:style>'
                            '<w:style w:type="paragraph" w:styleId="H"><w:basedOn w:val="H"/></w:style>'),
    "deep-sdt-body.docx": package(nested("<w:sdt><w:sdtContent>", "</w:sdtContent></w:sdt>", 3000, "<w:p/>")),
    "deep-customxml-body.docx": package(nested("<w:customXml>", "</w:customXml>", 3000, "<w:p/>")),
    "deep-hyperlink.docx": package("<w:p>" + nested("<w:hyperlink>", "</w:hyperlink>", 3000, "<w:r><w:t>x</w:t></w:r>") + "</w:p>"),
    "deep-sdt-paragraph.docx": package("<w:p>" + nested("<w:sdt><w:sdtContent>", "</w:sdtContent></w:sdt>", 3000, "<w:r><w:t>x</w:t></w:r>") + "</w:p>"),
    "deep-tables.docx": package(nested("<w:tbl><w:tr><w:tc>", "</w:tc></w:tr></w:tbl>", 2000, "<w:p/>")),
    "huge-numbers.docx": package(HUGE_NUMBERS, f'<w:docDefaults><w:rPrDefault>{HUGE_RPR}</w:rPrDefault></w:docDefaults>'),
    "huge-margins.docx": package(HUGE_MARGINS),
    "many-runs.docx": many_runs(20000),
    "entities.docx": with_entities(1000),
}

if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--runs":
        sys.stdout.buffer.write(many_runs(int(sys.argv[2])))
        sys.exit(0)
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")
