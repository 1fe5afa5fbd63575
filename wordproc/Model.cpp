#include "wordproc/Model.h"

namespace wordproc {

QString Paragraph::text() const
{
    QString t;
    for (const Run& r : runs)
        t += r.text;
    return t;
}

int Paragraph::length() const
{
    int n = 0;
    for (const Run& r : runs)
        n += static_cast<int>(r.text.size());
    return n;
}

const Style* DocumentModel::style(const QString& id) const
{
    for (const Style& s : styles)
        if (s.id == id)
            return &s;
    return nullptr;
}

const Style* DocumentModel::defaultParagraphStyle() const
{
    for (const Style& s : styles)
        if (s.type == StyleType::Paragraph && s.isDefault)
            return &s;
    return nullptr;
}

namespace {
// The chain from the paragraph's style up to its root; guarded against loops
// a damaged file might hold.
std::vector<const Style*> chain(const DocumentModel& m, const Paragraph& p)
{
    std::vector<const Style*> out;
    const Style* s = p.style.isEmpty() ? m.defaultParagraphStyle() : m.style(p.style);
    if (!s)
        s = m.defaultParagraphStyle();
    while (s && out.size() < 32) {
        out.push_back(s);
        s = s->basedOn.isEmpty() ? nullptr : m.style(s->basedOn);
    }
    return out;
}
}  // namespace

CharFormat DocumentModel::resolvedChars(const Paragraph& p, const CharFormat& own) const
{
    CharFormat f = defaultChars;
    const auto styles = chain(*this, p);
    for (auto it = styles.rbegin(); it != styles.rend(); ++it)
        f.overlay((*it)->chars);
    f.overlay(own);
    return f.complete();
}

ParaFormat DocumentModel::resolvedPara(const Paragraph& p) const
{
    ParaFormat f = defaultPara;
    const auto styles = chain(*this, p);
    for (auto it = styles.rbegin(); it != styles.rend(); ++it)
        f.overlay((*it)->para);
    f.overlay(p.format);
    return f;
}

std::vector<Table*> DocumentModel::tables()
{
    std::vector<Table*> out;
    for (Block& b : body)
        if (auto* t = std::get_if<Table>(&b))
            out.push_back(t);
    return out;
}

int DocumentModel::blockIndexOfTable(int tableIndex) const
{
    int seen = 0;
    for (size_t i = 0; i < body.size(); ++i)
        if (std::holds_alternative<Table>(body[i]) && seen++ == tableIndex)
            return static_cast<int>(i);
    return -1;
}

}  // namespace wordproc
