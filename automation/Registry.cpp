#include "Registry.h"

#include "AutomationError.h"
#include "FileSystemObject.h"

namespace automation {

Registry::Registry()
{
    // Part of the platform rather than of any component the program installs.
    add(QStringLiteral("Scripting.FileSystemObject"), [] { return std::make_shared<FileSystemObject>(); });
}

Registry& Registry::instance()
{
    static Registry registry;
    return registry;
}

Registry::Factory Registry::add(const QString& progId, Factory factory)
{
    Factory previous = mFactories.take(progId.toLower());
    if (factory)
        mFactories.insert(progId.toLower(), std::move(factory));
    return previous;
}

ObjectPtr Registry::create(const QString& progId) const
{
    const QString failure = QStringLiteral("Can't create object '%1'").arg(progId);
    const auto it = mFactories.constFind(progId.toLower());
    if (it == mFactories.constEnd())
        throw AutomationError(failure);
    ObjectPtr object;
    try {
        object = (*it)();
    } catch (const std::exception& e) {
        throw AutomationError(failure + QStringLiteral(": ") + QString::fromUtf8(e.what()));
    }
    if (!object)
        throw AutomationError(failure);
    return object;
}

ScopedRegistration::ScopedRegistration(const QString& progId, Registry::Factory factory)
    : mProgId(progId), mPrevious(Registry::instance().add(progId, std::move(factory)))
{}

ScopedRegistration::~ScopedRegistration() { Registry::instance().add(mProgId, std::move(mPrevious)); }

}  // namespace automation
