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
// The chain from a paragraph's style up to its root; guarded against loops
// a damaged file might hold. The sheet is the model or a resolver of it.
template <class Sheet> std::vector<const Style*> chain(const Sheet& sheet, const QString& styleId)
{
    std::vector<const Style*> out;
    const Style* s = styleId.isEmpty() ? sheet.defaultParagraphStyle() : sheet.style(styleId);
    if (!s)
        s = sheet.defaultParagraphStyle();
    while (s && out.size() < 32) {
        out.push_back(s);
        s = s->basedOn.isEmpty() ? nullptr : sheet.style(s->basedOn);
    }
    return out;
}

template <class Sheet> CharFormat chainChars(const DocumentModel& m, const Sheet& sheet, const QString& styleId)
{
    CharFormat f = m.defaultChars;
    const auto styles = chain(sheet, styleId);
    for (auto it = styles.rbegin(); it != styles.rend(); ++it)
        f.overlay((*it)->chars);
    return f;
}

template <class Sheet> ParaFormat chainPara(const DocumentModel& m, const Sheet& sheet, const QString& styleId)
{
    ParaFormat f = m.defaultPara;
    const auto styles = chain(sheet, styleId);
    for (auto it = styles.rbegin(); it != styles.rend(); ++it)
        f.overlay((*it)->para);
    return f;
}
}  // namespace

CharFormat DocumentModel::resolvedChars(const Paragraph& p, const CharFormat& own) const
{
    CharFormat f = chainChars(*this, *this, p.style);
    f.overlay(own);
    return f.complete();
}

ParaFormat DocumentModel::resolvedPara(const Paragraph& p) const
{
    ParaFormat f = chainPara(*this, *this, p.style);
    f.overlay(p.format);
    return f;
}

StyleResolver::StyleResolver(const DocumentModel& m) : mModel(m), mDefault(m.defaultParagraphStyle())
{
    for (const Style& s : m.styles)
        if (!mById.contains(s.id))
            mById.insert(s.id, &s);
}

const StyleResolver::Chain& StyleResolver::chainOf(const QString& styleId) const
{
    auto it = mChains.constFind(styleId);
    if (it == mChains.constEnd())
        it = mChains.insert(styleId, Chain{chainChars(mModel, *this, styleId), chainPara(mModel, *this, styleId)});
    return *it;
}

CharFormat StyleResolver::resolvedChars(const Paragraph& p, const CharFormat& own) const
{
    CharFormat f = chainOf(p.style).chars;
    f.overlay(own);
    return f.complete();
}

ParaFormat StyleResolver::resolvedPara(const Paragraph& p) const
{
    ParaFormat f = chainOf(p.style).para;
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
