#include "ui/Skin.h"
#include "automation/AutomationError.h"
#include "tests/support/RecordingObject.h"
#include "tests/support/TestSupport.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <gtest/gtest.h>

using namespace automation;
using ui::backColour;
using ui::platformColour;

namespace {

// A window with one control of each kind the colour rules tell apart.
struct Window {
    Window()
    {
        frame = make<QGroupBox>("Frame1", &root);
        label = make<QLabel>("lblCaption", frame);
        greyLabel = make<QLabel>("lblTopicNo", frame);
        ui::setBackColour(greyLabel, platformColour(ui::kLightGrey));
        box = make<ui::PictureBox>("Picture1", frame);
        option = make<QRadioButton>("optA", &root);
        check = make<QCheckBox>("chkA", &root);
        edit = make<QLineEdit>("txtTitle", &root);
        ui::setBackColour(edit, Qt::white);
    }
    template <class T> T* make(const char* name, QWidget* parent)
    {
        auto* w = new T(parent);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    QWidget root;
    QGroupBox* frame;
    QLabel *label, *greyLabel;
    ui::PictureBox* box;
    QRadioButton* option;
    QCheckBox* check;
    QLineEdit* edit;
};

// The skin component, recording its calls in order; the call by the dispatch
// identifier in failOn fails as a damaged skin file does.
struct Skin {
    testing_support::CallLog log = testing_support::makeCallLog();
    int failOn = 0;
    std::shared_ptr<testing_support::RecordingObject> component = std::make_shared<testing_support::RecordingObject>(
        QStringLiteral("Skin"), log, [this](const testing_support::RecordingObject&, const testing_support::Call& c) {
            if (c.member == QString::number(failOn))
                throw AutomationError(QStringLiteral("Skin file is damaged"));
            return c.kind == CallKind::PropertyGet ? Value(qint32(4)) : Value();
        });
};

}  // namespace

TEST(ApplySkin, WithoutASkinFileNothingChanges)
{
    testing_support::ProgramFolders folders;
    Window w;
    const QColor before = backColour(w.label);
    Skin skin;
    ui::ApplySkin(&w.root, skin.component);
    EXPECT_TRUE(skin.log->isEmpty());
    EXPECT_EQ(backColour(w.label), before);
    EXPECT_FALSE(w.root.autoFillBackground());
}

TEST(ApplySkin, RecoloursTheWindowAndDrivesTheComponentInOrder)
{
    testing_support::ProgramFolders folders;
    const QString path = folders.writeProgramFile(QStringLiteral("x/o.cjs"), "QWidget { }");
    Window w;
    Skin skin;
    ui::ApplySkin(&w.root, skin.component);

    const QColor face = platformColour(ui::kButtonFace);
    EXPECT_EQ(backColour(&w.root), face);
    for (QWidget* c : std::initializer_list<QWidget*>{w.frame, w.label, w.box, w.option, w.check})
        EXPECT_EQ(backColour(c), face) << c->objectName().toStdString();
    EXPECT_EQ(backColour(w.greyLabel), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(backColour(w.edit), QColor(Qt::white));

    const QString handle = QString::number(ui::SkinFramework::handleOf(&w.root));
    EXPECT_EQ(*skin.log, QStringList({"Skin.call 2(String " + path + ", String )", "Skin.get 1()", "Skin.put 1(Long 5)",
                                      "Skin.put 5(Boolean True)", "Skin.put 10(Boolean True)",
                                      "Skin.call 3(Long " + handle + ")"}));
}

TEST(ApplySkin, AFailingCallStopsTheRestButKeepsTheColours)
{
    testing_support::ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("x/o.cjs"), "x");
    Window w;
    Skin skin;
    skin.failOn = 2;
    EXPECT_THROW(ui::ApplySkin(&w.root, skin.component), AutomationError);
    EXPECT_EQ(skin.log->size(), 1);
    EXPECT_EQ(backColour(w.label), platformColour(ui::kButtonFace));
}

TEST(SkinFramework, LoadsAStyleSheetAndAppliesItToTheWindow)
{
    testing_support::ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("x/o.cjs"), "QLabel { color: rgb(1, 2, 3); }");
    Window w;
    ui::ApplySkin(&w.root, std::make_shared<ui::SkinFramework>());
    EXPECT_EQ(w.root.styleSheet(), QStringLiteral("QLabel { color: rgb(1, 2, 3); }"));
}

TEST(SkinFramework, AnUnreadableOrBinaryFileFailsTheFirstCall)
{
    testing_support::ProgramFolders folders;
    auto skin = std::make_shared<ui::SkinFramework>();
    const QString folder = folders.program();
    EXPECT_THROW(callById(skin, 2, CallKind::Method, {folder, ""}), AutomationError);
    const QString binary = folders.writeProgramFile(QStringLiteral("x/o.cjs"), QByteArray("\x00\x01\x02", 3));
    try {
        callById(skin, 2, CallKind::Method, {binary, ""});
        FAIL() << "no failure";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("Can't load the skin '%1': it is not a style sheet").arg(binary));
    }
}

TEST(PaintButtonFace, TheStandardWalkLeavesPictureBoxesAndRecoloursEveryLabel)
{
    Window w;
    const QColor boxBefore = backColour(w.box);
    ui::paintButtonFace(&w.root, ui::FaceWalk::Standard);
    const QColor face = platformColour(ui::kButtonFace);
    EXPECT_EQ(backColour(&w.root), face);
    EXPECT_EQ(backColour(w.greyLabel), face);
    EXPECT_EQ(backColour(w.frame), face);
    EXPECT_EQ(backColour(w.option), face);
    EXPECT_EQ(backColour(w.check), face);
    EXPECT_EQ(backColour(w.box), boxBefore);
    EXPECT_EQ(backColour(w.edit), QColor(Qt::white));
}

TEST(PlatformColour, PlainValuesAreBlueGreenRed)
{
    EXPECT_EQ(platformColour(0xF3F3F3), QColor(0xF3, 0xF3, 0xF3));
    EXPECT_EQ(platformColour(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(platformColour(0x8000000F), QApplication::palette().color(QPalette::Button));
}
