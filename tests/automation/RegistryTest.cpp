#include "automation/Registry.h"
#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <stdexcept>

using namespace automation;

namespace {

class Named : public Dispatch {
public:
    QString typeName() const override { return QStringLiteral("Test.Named"); }
};

QString createFailure(const QString& id)
{
    try {
        CreateObject(id);
    } catch (const AutomationError& e) {
        return e.description();
    }
    return QStringLiteral("(no failure)");
}

}  // namespace

TEST(Registry, UnknownIdentifierCantBeCreated)
{
    const ScopedRegistration none(QStringLiteral("Word.Application"), {});
    EXPECT_EQ(createFailure(QStringLiteral("Word.Application")),
              QStringLiteral("Can't create object 'Word.Application'"));
}

TEST(Registry, AComponentThatFailsToStartSaysWhy)
{
    ScopedRegistration r(QStringLiteral("Word.Application"),
                         []() -> ObjectPtr { throw std::runtime_error("the engine is missing"); });
    EXPECT_EQ(createFailure(QStringLiteral("Word.Application")),
              QStringLiteral("Can't create object 'Word.Application': the engine is missing"));
}

TEST(Registry, CreatesByIdentifierWithoutRegardToCaseAndRestoresAfterAScope)
{
    {
        ScopedRegistration r(QStringLiteral("Test.Named"), [] { return std::make_shared<Named>(); });
        EXPECT_EQ(CreateObject(QStringLiteral("test.NAMED"))->typeName(), QStringLiteral("Test.Named"));
    }
    EXPECT_EQ(createFailure(QStringLiteral("Test.Named")), QStringLiteral("Can't create object 'Test.Named'"));
    EXPECT_EQ(CreateObject(QStringLiteral("scripting.filesystemobject"))->typeName(),
              QStringLiteral("Scripting.FileSystemObject"));
}

TEST(FileSystemObject, DeleteFileForcesThroughReadOnlyOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.doc"));
    testing_support::writeFile(path, "x");
    QFile::setPermissions(path, QFile::ReadOwner);
    const ObjectPtr fso = CreateObject(QStringLiteral("Scripting.FileSystemObject"));

    EXPECT_THROW(call(fso, QStringLiteral("DeleteFile"), {path}), AutomationError);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_THROW(call(fso, QStringLiteral("DeleteFile"), {path, false}), AutomationError);
    call(fso, QStringLiteral("deletefile"), {path, named(QStringLiteral("force"), true)});
    EXPECT_FALSE(QFile::exists(path));

    try {
        call(fso, QStringLiteral("DeleteFile"), {path, true});
        FAIL() << "no failure";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("File not found: '%1'").arg(path));
    }
}

TEST(FileSystemObject, DeletesALinkNotWhatItPointsTo)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    testing_support::writeFile(target, "keep");
    ASSERT_TRUE(QFile::link(target, link));
    call(CreateObject(QStringLiteral("Scripting.FileSystemObject")), QStringLiteral("DeleteFile"), {link, true});
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(testing_support::readAll(target), QByteArray("keep"));
    EXPECT_THROW(call(CreateObject(QStringLiteral("Scripting.FileSystemObject")), QStringLiteral("DeleteFile"),
                      {dir.path(), true}),
                 AutomationError);
}
