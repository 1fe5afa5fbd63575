#pragma once

#include "Object.h"

#include <QHash>
#include <QString>
#include <functional>

namespace automation {

// Creates objects from their programmatic identifiers, as the platform's
// object registry does. Identifiers are compared without regard to case.
class Registry {
public:
    using Factory = std::function<ObjectPtr()>;

    static Registry& instance();

    // Registers or replaces (an empty factory unregisters); returns the
    // factory it replaced (empty if none).
    Factory add(const QString& progId, Factory factory);

    // Throws AutomationError "Can't create object '<id>'" when the identifier
    // is not registered or its component fails to start.
    ObjectPtr create(const QString& progId) const;

private:
    Registry();
    QHash<QString, Factory> mFactories;  // lower-case id -> factory
};

// Puts a factory in place for one scope and restores what was there before:
// how tests stand a recording or failing object in for a real component.
class ScopedRegistration {
public:
    ScopedRegistration(const QString& progId, Registry::Factory factory);
    ~ScopedRegistration();
    ScopedRegistration(const ScopedRegistration&) = delete;
    ScopedRegistration& operator=(const ScopedRegistration&) = delete;

private:
    QString mProgId;
    Registry::Factory mPrevious;
};

inline ObjectPtr CreateObject(const QString& progId) { return Registry::instance().create(progId); }

}  // namespace automation
