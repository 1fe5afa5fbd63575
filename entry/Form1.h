#pragma once

#include "app/Termination.h"
#include "automation/Value.h"
#include "docgen/GenerationHost.h"
#include "entry/ControlArray.h"
#include "entry/DatePicker.h"
#include "meeting/RecordStorage.h"
#include "meeting/SettingsStore.h"
#include "ui/HoverPointer.h"
#include "ui/Pointer.h"
#include "ui/RunProgress.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QWheelEvent;
class QAction;

namespace ui {
class PictureBox;
}
namespace preview {
class Form2;
}

namespace entry {

// The entry window: the start-up window in which the meeting is typed. Its
// fields are the meeting record; every change goes straight to the store.
class Form1 : public QWidget, public meeting::RecordFields, public docgen::GenerationHost {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence; the window is shown only after it has returned.
    void Form_Load();

    void PushButton22_Click();  // "Start Creating Template"
    void PushButton2_Click();  // "Clear/Reset Data"
    void PushButton3_Click();  // "Load Sample/Example Data"
    // "Add Topic": an empty topic after the last, on show with the keys in its
    // time. "Remove Topic": the topic on show, asking first if it holds anything.
    void addTopic();
    void removeTopic();

    ui::WindowPointer& pointer() { return mPointer; }

    // The record's fields by name, for readers and for the restore.
    QLineEdit* textField(meeting::Field f, int topic = 0) const;
    DatePicker* datePicker(meeting::Field f, int topic = 0) const;

    void assignText(meeting::Field f, int topic, const QString& text) override;
    void assignDateTime(const QDateTime& value) override;
    void assignDeadline(meeting::Field f, int topic, const meeting::MaybeDate& value) override;
    int topicCount() const override { return picMainContainer.UBound() + 1; }
    void setTopicCount(int count) override;

    // GenerationHost
    bool runUnderWay() const override { return mBusy; }
    void beginRun() override;
    void endRun() override { mBusy = false; }
    void allowRepaint(bool allow) override { setUpdatesEnabled(allow); }
    void setMousePointer(int shape) override { mPointer.setShape(shape); }
    void hideWindow() override { hide(); }
    void reportProgress(int done, int total) override { mProgress.report(done, total); }
    void endProgress() override { mProgress.end(); }
    QString text(meeting::Field f, int topic = 0) const override;
    QDateTime meetingDateTime() const override { return *dtpDateTime->value(); }
    meeting::MaybeDate deadline(meeting::Field f, int topic) const override;
    int lastTopicIndex() const override { return lblTopic.UBound(); }
    docgen::PreviewPort& preview() override;
    // The preview window, if it has been created.
    preview::Form2* previewWindow() const { return mForm2; }

    // The controls, by their designed names.
    QPushButton *PushButton22, *PushButton2, *PushButton3;
    // In the "Agenda Topics" frame; each runs its command's action, which also
    // has the keys and stands in the topic panels' context menu.
    QPushButton *PushButtonAddTopic, *PushButtonRemoveTopic;
    QAction *actAddTopic, *actRemoveTopic;
    QGroupBox *Frame1, *Frame2, *Frame3;
    QLineEdit *txtTitle, *txtMeetingLocation, *txtMeetingCalledBy, *txtTypeOfMeeting, *txtFacilitator, *txtNoteTaker,
        *txtTimekeeper, *txtAttendees, *txtObservers, *txtResource, *txtNotes;
    DatePicker* dtpDateTime;
    ui::PictureBox *Picture1, *Picture3;
    QScrollBar* VScroll1;
    ControlArray<ui::PictureBox> picMainContainer, picCont1, picCont2;
    ControlArray<QLabel> lblTopicNo, lblTimeAlloted, lblTopic, lblPresenter, lblDiscussion, lblConclusion,
        lblActionItem, lblPersonResponsible, lblDeadline;
    ControlArray<QLineEdit> txtTimeAlloted, txtTopic, txtPresenter, txtDiscussion1, txtDiscussion2, txtDiscussion3,
        txtConclusion1, txtConclusion2, txtConclusion3, txtAction1, txtAction2, txtPerson1, txtPerson2;
    ControlArray<DatePicker> dtpDeadlin1, dtpDeadline2;
    // Below the footer while the meeting can't be saved: why, and where.
    QLabel* lblStoreNotice;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildButtons();
    void buildMeetingDetails();
    void buildAgendaTopics();
    void buildFooter();
    void buildStoreNotice();
    void buildTopicCommands();
    void enableTopicCommands();
    void buildTopicPanel(int index);
    void removeLastTopicPanel();
    // Whether topic `topic` holds anything typed or chosen.
    bool topicHoldsAnything(int topic) const;
    void showTopic(int topic);
    void turnTopicsByWheel(const QWheelEvent* event);
    // The text fields of one name, one per topic; none for a field of the header or footer.
    const ControlArray<QLineEdit>* topicTexts(meeting::Field f) const;
    void connectField(QLineEdit* edit, meeting::Field f, int topic);
    void connectPicker(DatePicker* picker, meeting::Field f, int topic);
    void setTabOrder();
    void watchHover(QWidget* w, int shape);
    void nameForScreenReaders();
    void placeStrip();
    void Form_Unload();
    void showStoreTrouble(const meeting::StoreTrouble& trouble);
    // The window at the surface's size, or at the room its screen has if that is smaller.
    void fitToScreen();

    QScrollArea* mScroller;
    QWidget* mSurface;  // the controls' parent, at the designed size
    // The non-visual skin component that styles this window.
    automation::ObjectPtr SkinFramework1;
    ui::WindowPointer mPointer;
    ui::RunProgress mProgress;
    ui::HoverPointer mHover{this, mPointer};
    bool mBusy = false;
    meeting::TroubleListener mOtherTroubleListener;
    app::WorkUnderWay mOtherWorkUnderWay;
    preview::Form2* mForm2 = nullptr;
    int mWheelAngle = 0;  // what a smooth wheel has turned short of a notch

    struct FieldInfo {
        meeting::Field field;
        int topic;
    };
    QHash<QObject*, FieldInfo> mFieldOf;  // text fields and pickers (and their parts)
};

}  // namespace entry
