#include "wordproc/Vocabulary.h"

namespace wordproc::ooxml {

QString RelationshipType::uri() const { return QLatin1String(base) + QLatin1Char('/') + QLatin1String(path); }

QString RelationshipType::name() const { return QString::fromLatin1(path).section(QLatin1Char('/'), -1); }

const Effect* effectNamed(QStringView element)
{
    for (const Effect& e : kEffects)
        if (element == QLatin1String(e.token))
            return &e;
    return nullptr;
}

}  // namespace wordproc::ooxml
