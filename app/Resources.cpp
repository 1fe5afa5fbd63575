#include "app/Resources.h"

#include <QFile>
#include <stdexcept>

static void initTemplateResource() { Q_INIT_RESOURCE(template); }

namespace app {

QByteArray LoadResData(int id, const QString& type)
{
    initTemplateResource();
    QFile f(QStringLiteral(":/corvalin/%1/%2").arg(type).arg(id));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Resource not found: the program carries no resource %1 of type \"%2\"")
                                     .arg(id)
                                     .arg(type)
                                     .toStdString());
    return f.readAll();
}

}  // namespace app
