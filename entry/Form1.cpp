#include "entry/Form1.h"

#include "app/AppTitle.h"
#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "docgen/IsInstalled.h"
#include "docgen/TemplateFilling.h"
#include "platform/Units.h"
#include "preview/Form2.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Skin.h"
#include "ui/WindowLook.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <utility>

namespace entry {

using meeting::Field;

namespace {

QLabel* caption(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height,
                QWidget* buddy = nullptr)
{
    auto* l = ui::placeControl<QLabel>(parent, name, left, top, width, height);
    l->setText(text);
    // With a buddy a doubled ampersand shows as one, as the captions are written.
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

// A field's caption, as the field table words it.
QLabel* fieldCaption(QWidget* parent, const char* name, Field f, int left, int top, int width, QWidget* field)
{
    // A single ampersand would underline the next letter as a shortcut.
    return caption(parent, QString::fromLatin1(name), meeting::fieldCaption(f).replace(u'&', QStringLiteral("&&")),
                   left, top, width, 225, field);
}

// A field of the record. Receiving the focus by Tab or by a click selects its
// whole text (as Home, then Shift+End would), so that typing replaces it; the
// title keeps its caret instead. The window becoming active again, or a
// closing pop-up, gives the focus back without touching the text.
class FieldEdit : public QLineEdit {
public:
    enum class OnFocus { SelectAll, KeepCaret };
    FieldEdit(OnFocus onFocus, QWidget* parent) : QLineEdit(parent), mOnFocus(onFocus) {}

    // Commands the field's own menu offers below the editing ones.
    void setMenuCommands(QList<QAction*> commands) { mCommands = std::move(commands); }

protected:
    void contextMenuEvent(QContextMenuEvent* e) override
    {
        if (mCommands.isEmpty())
            return QLineEdit::contextMenuEvent(e);
        const QPointer<QMenu> menu = createStandardContextMenu();
        menu->addSeparator();
        menu->addActions(mCommands);
        menu->exec(e->globalPos());
        delete menu;
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        switch (e->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            // At once, not by posted keystrokes: keys typed meanwhile come after it.
            mOnFocus == OnFocus::SelectAll ? selectWhole() : deselect();
            break;
        case Qt::MouseFocusReason:
            // The press that gave the focus places the caret and clears any
            // selection; the selection is made once it has been handled.
            mSelectAfterPress = mOnFocus == OnFocus::SelectAll;
            break;
        default: break;
        }
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        mSelectAfterPress = false;
        QLineEdit::focusOutEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        QLineEdit::mousePressEvent(e);
        if (std::exchange(mSelectAfterPress, false))
            selectWhole();
    }

private:
    void selectWhole()
    {
        home(false);
        end(true);
    }

    OnFocus mOnFocus;
    bool mSelectAfterPress = false;
    QList<QAction*> mCommands;
};

FieldEdit* textBox(QWidget* parent, Field f, int left, int top, int width, int height)
{
    // The title is the one field whose text is not selected on focus.
    auto* e =
        new FieldEdit(f == Field::txtTitle ? FieldEdit::OnFocus::KeepCaret : FieldEdit::OnFocus::SelectAll, parent);
    e->setObjectName(meeting::fieldName(f));
    ui::placeInTwips(e, left, top, width, height);
    e->setMaxLength(std::numeric_limits<int>::max());  // the fields have no maximum
    return e;
}

}  // namespace

namespace {
constexpr int kFormWidth = 9000, kFormHeight = 9660;
// The designed margin between the controls and the window's edge, in twips.
constexpr int kMargin = 120;
// The topic panels on the strip: the first one's place, and the gap between
// one panel and the next. The strip's designed height holds the first.
constexpr int kPanelLeft = 60, kPanelTop = 120, kPanelWidth = 7905, kPanelHeight = 3975, kPanelGap = 120;
constexpr int kStripHeight = 5505;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

QString topicHeading(int topic) { return QStringLiteral("Agenda Topic : %1").arg(topic + 1); }

// A panel added once the window has been styled looks as the first one does;
// the panels are built alike, so their controls pair up in order.
void matchLook(const QWidget* model, QWidget* copy)
{
    copy->setPalette(model->palette());
    copy->setAutoFillBackground(model->autoFillBackground());
    const QList<QWidget*> from = model->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const QList<QWidget*> to = copy->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < std::min(from.size(), to.size()); ++i)
        matchLook(from[i], to[i]);
}
}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), SkinFramework1(std::make_shared<ui::SkinFramework>()), mPointer(this)
{
    setObjectName(QStringLiteral("Form1"));
    setFont(ui::designFont(9));
    // The controls lie on a surface of the designed size. The window shows it
    // whole where the screen has room, and scrolls it where it has not.
    mScroller = new QScrollArea;
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(mScroller);
    mScroller->setFrameShape(QFrame::NoFrame);
    mScroller->setFocusPolicy(Qt::NoFocus);  // the Tab order is the fields'
    mScroller->viewport()->setAutoFillBackground(false);
    mSurface = new QWidget;
    mSurface->setFixedSize(platform::units::twipsToPixels(kFormWidth), platform::units::twipsToPixels(kFormHeight));
    mScroller->setWidget(mSurface);
    // Whatever takes the keys, by Tab, click or the program, is brought into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || !mSurface->isAncestorOf(now))
            return;
        // The whole control, not only its caret as Qt's own would, with the designed margin round it.
        const QRect r(now->mapTo(mSurface, QPoint(0, 0)), now->size());
        const int margin = platform::units::twipsToPixels(kMargin);
        mScroller->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + margin, r.height() / 2 + margin);
    });
    fitToScreen();
    buildLayout();
    mOtherTroubleListener =
        meeting::setTroubleListener([this](const meeting::StoreTrouble& trouble) { showStoreTrouble(trouble); });
    // A stop asked by the system waits for a run to finish, not for the window.
    mOtherWorkUnderWay = app::setWorkUnderWay([this] { return mBusy; });
    setTabOrder();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* start = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(start, &QShortcut::activated, this, &Form1::PushButton22_Click);
    }
    nameForScreenReaders();
    // Typing starts in the title, the first field of the Tab order.
    txtTitle->setFocus(Qt::OtherFocusReason);
}

Form1::~Form1()
{
    meeting::setTroubleListener(std::move(mOtherTroubleListener));
    app::setWorkUnderWay(std::move(mOtherWorkUnderWay));
    delete mForm2;
}

// The three buttons across the top.
void Form1::buildButtons()
{
    PushButton22 = ui::placeControl<QPushButton>(mSurface, QStringLiteral("PushButton22"), 120, 120, 8760, 400);
    PushButton22->setText(QStringLiteral("Start Creating Template"));
    PushButton2 = ui::placeControl<QPushButton>(mSurface, QStringLiteral("PushButton2"), 120, 630, 4320, 405);
    PushButton2->setText(QStringLiteral("Clear/Reset Data"));
    PushButton3 = ui::placeControl<QPushButton>(mSurface, QStringLiteral("PushButton3"), 4560, 630, 4320, 405);
    PushButton3->setText(QStringLiteral("Load Sample/Example Data"));
    ui::setButtonFont({PushButton22, PushButton2, PushButton3});
    for (QPushButton* b : {PushButton22, PushButton2, PushButton3})
        watchHover(b, ui::vbCustom);
    connect(PushButton22, &QPushButton::clicked, this, &Form1::PushButton22_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
}

// Meeting details: two columns of caption and field.
void Form1::buildMeetingDetails()
{
    Frame1 = ui::placeControl<QGroupBox>(mSurface, QStringLiteral("Frame1"), 120, 1095, 8760, 2280);
    Frame1->setTitle(QStringLiteral("Meeting Details"));
    txtTitle = textBox(Frame1, Field::txtTitle, 2055, 307, 2550, 345);
    // "tt" of the designed format is Qt's "AP".
    dtpDateTime = new DatePicker(QStringLiteral("dd-MMM-yyyy hh:mm  AP"), false, Frame1);
    dtpDateTime->setObjectName(meeting::fieldName(Field::dtpDateTime));
    ui::placeInTwips(dtpDateTime, 2055, 675, 2550, 345);
    txtMeetingLocation = textBox(Frame1, Field::txtMeetingLocation, 2055, 1057, 2550, 345);
    txtMeetingCalledBy = textBox(Frame1, Field::txtMeetingCalledBy, 2055, 1417, 2550, 345);
    txtTypeOfMeeting = textBox(Frame1, Field::txtTypeOfMeeting, 2055, 1770, 2550, 345);
    txtFacilitator = textBox(Frame1, Field::txtFacilitator, 5925, 307, 2550, 345);
    txtNoteTaker = textBox(Frame1, Field::txtNoteTaker, 5925, 682, 2550, 345);
    txtTimekeeper = textBox(Frame1, Field::txtTimekeeper, 5925, 1057, 2550, 345);
    txtAttendees = textBox(Frame1, Field::txtAttendees, 5925, 1440, 2550, 345);
    fieldCaption(Frame1, "Label1", Field::txtTitle, 240, 360, 1755, txtTitle);
    fieldCaption(Frame1, "Label2", Field::dtpDateTime, 240, 735, 1755, dtpDateTime);
    fieldCaption(Frame1, "Label3", Field::txtMeetingLocation, 240, 1110, 1755, txtMeetingLocation);
    fieldCaption(Frame1, "Label4", Field::txtMeetingCalledBy, 240, 1470, 1755, txtMeetingCalledBy);
    fieldCaption(Frame1, "Label5", Field::txtTypeOfMeeting, 240, 1830, 1755, txtTypeOfMeeting);
    fieldCaption(Frame1, "Label6", Field::txtFacilitator, 4845, 360, 1050, txtFacilitator);
    fieldCaption(Frame1, "Label7", Field::txtNoteTaker, 4845, 735, 1050, txtNoteTaker);
    fieldCaption(Frame1, "Label8", Field::txtTimekeeper, 4845, 1110, 1050, txtTimekeeper);
    fieldCaption(Frame1, "Label9", Field::txtAttendees, 4845, 1470, 1050, txtAttendees);
}

// Agenda topics: a viewport onto a strip of topic panels.
void Form1::buildAgendaTopics()
{
    Frame3 = ui::placeControl<QGroupBox>(mSurface, QStringLiteral("Frame3"), 120, 3450, 8760, 4620);
    Frame3->setTitle(QStringLiteral("Agenda Topics"));
    Picture1 = ui::placeControl<ui::PictureBox>(Frame3, QStringLiteral("Picture1"), 195, 285, 8340, 4170);
    Picture3 = ui::placeControl<ui::PictureBox>(Picture1, QStringLiteral("Picture3"), 30, 0, 7950, 5505);
    VScroll1 = ui::placeControl<QScrollBar>(Picture1, QStringLiteral("VScroll1"), 8070, -15, 250, 4170);
    VScroll1->setOrientation(Qt::Vertical);
    VScroll1->setRange(0, 0);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::placeStrip);  // Change
    connect(VScroll1, &QScrollBar::sliderMoved, this, &Form1::placeStrip);  // Scroll
    // The wheel anywhere over the topics turns them; what the panels' controls
    // don't take comes here.
    Picture1->installEventFilter(this);
    buildTopicCommands();
    buildTopicPanel(0);
    enableTopicCommands();
}

void Form1::enableTopicCommands()
{
    actAddTopic->setEnabled(topicCount() < meeting::kMostTopics);
    actRemoveTopic->setEnabled(topicCount() > 1);
}

// "Add Topic" and "Remove Topic", in the frame's title line beside its caption,
// where no designed control stands.
void Form1::buildTopicCommands()
{
    const auto command = [this](const QString& caption, const QKeySequence& keys, void (Form1::*handler)()) {
        auto* action = new QAction(caption, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(caption, keys.toString(QKeySequence::NativeText)));
        // After the menu or the key that asked for it has been handled: the
        // command may take away the very panel a menu was opened on.
        connect(action, &QAction::triggered, this, handler, Qt::QueuedConnection);
        addAction(action);
        return action;
    };
    actAddTopic =
        command(QStringLiteral("Add Topic"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), &Form1::addTopic);
    actRemoveTopic = command(QStringLiteral("Remove Topic"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
                             &Form1::removeTopic);
    PushButtonAddTopic =
        ui::placeControl<QPushButton>(Frame3, QStringLiteral("PushButtonAddTopic"), 5415, 0, 1530, 285);
    PushButtonRemoveTopic =
        ui::placeControl<QPushButton>(Frame3, QStringLiteral("PushButtonRemoveTopic"), 7005, 0, 1530, 285);
    const std::pair<QPushButton*, QAction*> buttons[] = {{PushButtonAddTopic, actAddTopic},
                                                         {PushButtonRemoveTopic, actRemoveTopic}};
    for (const auto& [button, action] : buttons) {
        button->setText(action->text());
        button->setToolTip(action->toolTip());
        button->setAccessibleName(action->text());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
        watchHover(button, ui::vbCustom);
    }
}

// Footer.
void Form1::buildFooter()
{
    Frame2 = ui::placeControl<QGroupBox>(mSurface, QStringLiteral("Frame2"), 120, 8115, 8760, 1440);
    Frame2->setTitle(QStringLiteral("Footer"));
    txtObservers = textBox(Frame2, Field::txtObservers, 1935, 240, 6585, 345);
    txtResource = textBox(Frame2, Field::txtResource, 1935, 585, 6585, 345);
    txtNotes = textBox(Frame2, Field::txtNotes, 1935, 945, 6585, 345);
    fieldCaption(Frame2, "Label10", Field::txtObservers, 240, 285, 1665, txtObservers);
    fieldCaption(Frame2, "Label11", Field::txtResource, 240, 630, 1665, txtResource);
    fieldCaption(Frame2, "Label12", Field::txtNotes, 240, 990, 1665, txtNotes);
}

// A line, not a box: a box would take the keys typed while it comes up.
void Form1::buildStoreNotice()
{
    lblStoreNotice =
        ui::placeControl<QLabel>(mSurface, QStringLiteral("lblStoreNotice"), 120, kFormHeight - 60, 8760, 0);
    lblStoreNotice->setWordWrap(true);
    lblStoreNotice->setTextFormat(Qt::PlainText);
    lblStoreNotice->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblStoreNotice->setMargin(4);
    lblStoreNotice->setAutoFillBackground(true);
    QPalette notice = lblStoreNotice->palette();
    notice.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC4));
    notice.setColor(QPalette::WindowText, Qt::black);
    lblStoreNotice->setPalette(notice);
    lblStoreNotice->hide();
}

void Form1::buildLayout()
{
    buildButtons();
    buildMeetingDetails();
    buildAgendaTopics();
    buildFooter();
    buildStoreNotice();

    const std::pair<QLineEdit*, Field> header[] = {
        {txtTitle, Field::txtTitle},
        {txtMeetingLocation, Field::txtMeetingLocation},
        {txtMeetingCalledBy, Field::txtMeetingCalledBy},
        {txtTypeOfMeeting, Field::txtTypeOfMeeting},
        {txtFacilitator, Field::txtFacilitator},
        {txtNoteTaker, Field::txtNoteTaker},
        {txtTimekeeper, Field::txtTimekeeper},
        {txtAttendees, Field::txtAttendees},
        {txtObservers, Field::txtObservers},
        {txtResource, Field::txtResource},
        {txtNotes, Field::txtNotes},
    };
    for (const auto& [edit, field] : header)
        connectField(edit, field, 0);
    connectPicker(dtpDateTime, Field::dtpDateTime, 0);

    for (QWidget* w : {static_cast<QWidget*>(this), mSurface, static_cast<QWidget*>(Frame1),
                       static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Frame3)})
        watchHover(w, ui::vbDefault);
}

void Form1::buildTopicPanel(int i)
{
    const QColor lightGrey = ui::platformColour(ui::kLightGrey);
    auto* panel =
        ui::placeControl<ui::PictureBox>(Picture3, QStringLiteral("picMainContainer"), kPanelLeft,
                                         kPanelTop + i * (kPanelHeight + kPanelGap), kPanelWidth, kPanelHeight);
    picMainContainer.add(panel);
    panel->setAccessibleName(topicHeading(i));
    // A right click on the panel brings its topic to the top, the one the commands act on.
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(panel, &QWidget::customContextMenuRequested, this, [this, panel, i](const QPoint& at) {
        VScroll1->setValue(i);
        QMenu menu;
        menu.addActions({actAddTopic, actRemoveTopic});
        menu.exec(panel->mapToGlobal(at));
    });

    auto label = [&](ControlArray<QLabel>& array, const char* name, const QString& text, int left, int top, int width) {
        QLabel* l = caption(panel, QString::fromLatin1(name), text, left, top, width, 330);
        ui::setBackColour(l, lightGrey);
        array.add(l);
    };
    auto text = [&](ControlArray<QLineEdit>& array, Field f, int left, int top, int width) {
        FieldEdit* e = textBox(panel, f, left, top, width, 330);
        e->setMenuCommands({actAddTopic, actRemoveTopic});
        array.add(e);
        connectField(e, f, i);
    };
    label(lblTopicNo, "lblTopicNo", topicHeading(i), 30, 45, 7830);
    label(lblTimeAlloted, "lblTimeAlloted", meeting::fieldCaption(Field::txtTimeAlloted), 30, 360, 1605);
    label(lblTopic, "lblTopic", meeting::fieldCaption(Field::txtTopic), 1620, 360, 4305);
    label(lblPresenter, "lblPresenter", meeting::fieldCaption(Field::txtPresenter), 5910, 360, 1950);
    text(txtTimeAlloted, Field::txtTimeAlloted, 30, 675, 1605);
    text(txtTopic, Field::txtTopic, 1620, 675, 4305);
    text(txtPresenter, Field::txtPresenter, 5910, 675, 1950);
    label(lblDiscussion, "lblDiscussion", meeting::fieldCaption(Field::txtDiscussion1), 30, 990, 1605);
    text(txtDiscussion1, Field::txtDiscussion1, 1620, 990, 6240);
    text(txtDiscussion2, Field::txtDiscussion2, 30, 1305, 7830);
    text(txtDiscussion3, Field::txtDiscussion3, 30, 1620, 7830);
    label(lblConclusion, "lblConclusion", meeting::fieldCaption(Field::txtConclusion1), 30, 1935, 1605);
    text(txtConclusion1, Field::txtConclusion1, 1620, 1935, 6240);
    text(txtConclusion2, Field::txtConclusion2, 30, 2250, 7830);
    text(txtConclusion3, Field::txtConclusion3, 30, 2565, 7830);
    label(lblActionItem, "lblActionItem", meeting::fieldCaption(Field::txtAction1), 30, 2880, 4290);
    label(lblPersonResponsible, "lblPersonResponsible", meeting::fieldCaption(Field::txtPerson1), 4305, 2880, 1785);
    label(lblDeadline, "lblDeadline", meeting::fieldCaption(Field::dtpDeadlin1), 6075, 2880, 1785);
    text(txtAction1, Field::txtAction1, 30, 3195, 4290);
    text(txtPerson1, Field::txtPerson1, 4305, 3195, 1785);
    text(txtAction2, Field::txtAction2, 30, 3510, 4290);
    text(txtPerson2, Field::txtPerson2, 4305, 3510, 1785);

    // Each deadline picker sits 30 twips up and left inside a holder that
    // clips its left and top border.
    auto deadline = [&](ControlArray<ui::PictureBox>& holders, const char* holderName,
                        ControlArray<DatePicker>& pickers, Field f, int top) {
        auto* holder = ui::placeControl<ui::PictureBox>(panel, QString::fromLatin1(holderName), 6075, top, 1785, 330);
        holders.add(holder);
        auto* picker = new DatePicker(QStringLiteral("dd-MMM-yyyy"), true, holder);
        picker->setObjectName(meeting::fieldName(f));
        ui::placeInTwips(picker, -30, -30, 1830, 360);
        pickers.add(picker);
        connectPicker(picker, f, i);
    };
    deadline(picCont1, "picCont1", dtpDeadlin1, Field::dtpDeadlin1, 3195);
    deadline(picCont2, "picCont2", dtpDeadline2, Field::dtpDeadline2, 3510);
    if (i > 0) {
        matchLook(picMainContainer[0], panel);
        panel->show();
    }
}

void Form1::removeLastTopicPanel()
{
    const int last = picMainContainer.UBound();
    for (auto it = mFieldOf.begin(); it != mFieldOf.end();)
        it = meeting::isTopicField(it->field) && it->topic == last ? mFieldOf.erase(it) : std::next(it);
    delete picMainContainer[last];  // and every control on it
    for (auto* holders : {&picMainContainer, &picCont1, &picCont2})
        holders->removeLast();
    for (auto* labels : {&lblTopicNo, &lblTimeAlloted, &lblTopic, &lblPresenter, &lblDiscussion, &lblConclusion,
                         &lblActionItem, &lblPersonResponsible, &lblDeadline})
        labels->removeLast();
    for (auto* texts :
         {&txtTimeAlloted, &txtTopic, &txtPresenter, &txtDiscussion1, &txtDiscussion2, &txtDiscussion3, &txtConclusion1,
          &txtConclusion2, &txtConclusion3, &txtAction1, &txtAction2, &txtPerson1, &txtPerson2})
        texts->removeLast();
    for (auto* pickers : {&dtpDeadlin1, &dtpDeadline2})
        pickers->removeLast();
}

void Form1::setTopicCount(int count)
{
    count = std::clamp(count, 1, meeting::kMostTopics);
    while (topicCount() < count)
        buildTopicPanel(topicCount());
    while (topicCount() > count)
        removeLastTopicPanel();
    Picture3->resize(Picture3->width(),
                     platform::units::twipsToPixels(kStripHeight + (count - 1) * (kPanelHeight + kPanelGap)));
    VScroll1->setMaximum(count - 1);  // a value past it moves back, and the strip with it
    enableTopicCommands();
    setTabOrder();
    nameForScreenReaders();
}

bool Form1::topicHoldsAnything(int topic) const
{
    for (const meeting::FieldFacts& f : meeting::kFields) {
        if (!f.topic)
            continue;
        if (f.kind == meeting::FieldKind::Text ? !text(f.field, topic).isEmpty() : deadline(f.field, topic).has_value())
            return true;
    }
    return false;
}

void Form1::showTopic(int topic)
{
    VScroll1->setValue(topic);
    txtTimeAlloted[topic]->setFocus(Qt::OtherFocusReason);
}

void Form1::addTopic()
{
    const int count = topicCount();
    if (count >= meeting::kMostTopics)
        return;
    {
        meeting::OneWrite together;
        setTopicCount(count + 1);
        meeting::saveTopicCount(count + 1, count);
    }
    showTopic(count);
}

void Form1::removeTopic()
{
    const int count = topicCount();
    if (count <= 1)
        return;
    const int gone = VScroll1->value();
    if (topicHoldsAnything(gone)
        && app::MsgBox(QStringLiteral("Remove agenda topic %1 and everything typed in it?").arg(gone + 1),
                       app::vbYesNo | app::vbQuestion | app::vbDefaultButton2)
               != app::vbYes)
        return;
    {
        meeting::OneWrite together;
        // The topics after it move up a panel, value by value; the last panel goes.
        for (int topic = gone; topic + 1 < count; ++topic) {
            for (const meeting::FieldFacts& f : meeting::kFields) {
                if (!f.topic)
                    continue;
                if (f.kind == meeting::FieldKind::Text)
                    assignText(f.field, topic, text(f.field, topic + 1));
                else
                    assignDeadline(f.field, topic, deadline(f.field, topic + 1));
            }
        }
        setTopicCount(count - 1);
        meeting::saveTopicCount(count - 1, count);
    }
    showTopic(std::min(gone, count - 2));
}

void Form1::turnTopicsByWheel(const QWheelEvent* event)
{
    // A notch turns one topic; a smooth wheel's small steps add up to notches.
    const int angle = event->angleDelta().y();
    if ((angle > 0) != (mWheelAngle > 0))
        mWheelAngle = 0;
    mWheelAngle += angle;
    const int notches = mWheelAngle / kWheelNotch;
    mWheelAngle -= notches * kWheelNotch;
    VScroll1->setValue(VScroll1->value() - notches);
}

void Form1::connectField(QLineEdit* edit, Field f, int topic)
{
    mFieldOf.insert(edit, {f, topic});
    edit->installEventFilter(this);
    watchHover(edit, ui::vbDefault);
    connect(edit, &QLineEdit::textChanged, this,
            [f, topic](const QString& text) { meeting::saveText(f, topic, text); });
}

void Form1::connectPicker(DatePicker* picker, Field f, int topic)
{
    for (QWidget* part : {static_cast<QWidget*>(picker), static_cast<QWidget*>(picker->edit()),
                          static_cast<QWidget*>(picker->checkBox())}) {
        if (!part)
            continue;
        mFieldOf.insert(part, {f, topic});
        part->installEventFilter(this);
        watchHover(part, ui::vbDefault);
    }
    if (meeting::kindOf(f) == meeting::FieldKind::DateTime)
        connect(picker, &DatePicker::changed, this, [picker] { meeting::saveDateTime(*picker->value()); });
    else
        connect(picker, &DatePicker::changed, this,
                [picker, f, topic] { meeting::saveDeadline(f, topic, picker->value()); });
}

void Form1::setTabOrder()
{
    std::vector<QWidget*> order = {txtTitle,           dtpDateTime->edit(), txtMeetingLocation,
                                   txtMeetingCalledBy, txtTypeOfMeeting,    txtFacilitator,
                                   txtNoteTaker,       txtTimekeeper,       txtAttendees};
    for (int i = 0; i <= picMainContainer.UBound(); ++i) {
        for (QWidget* w :
             {txtTimeAlloted[i], txtTopic[i], txtPresenter[i], txtDiscussion1[i], txtDiscussion2[i], txtDiscussion3[i],
              txtConclusion1[i], txtConclusion2[i], txtConclusion3[i], txtAction1[i], txtPerson1[i]})
            order.push_back(w);
        order.push_back(dtpDeadlin1[i]->checkBox());
        order.push_back(dtpDeadlin1[i]->edit());
        order.push_back(txtAction2[i]);
        order.push_back(txtPerson2[i]);
        order.push_back(dtpDeadline2[i]->checkBox());
        order.push_back(dtpDeadline2[i]->edit());
    }
    for (QWidget* w :
         {static_cast<QWidget*>(txtObservers), static_cast<QWidget*>(txtResource), static_cast<QWidget*>(txtNotes),
          static_cast<QWidget*>(PushButton22), static_cast<QWidget*>(PushButton2), static_cast<QWidget*>(PushButton3),
          static_cast<QWidget*>(PushButtonAddTopic), static_cast<QWidget*>(PushButtonRemoveTopic)})
        order.push_back(w);
    for (size_t k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
    // The scroll bar takes no part in typing the meeting.
    VScroll1->setFocusPolicy(Qt::NoFocus);
}

// Each control is announced by its caption as shown; where one caption
// stands for several fields, with the field's line ("Discussion 2").
void Form1::nameForScreenReaders()
{
    for (QPushButton* b : {PushButton22, PushButton2, PushButton3})
        b->setAccessibleName(b->text());
    for (const meeting::FieldFacts& f : meeting::kFields) {
        const QString name = meeting::spokenCaption(f.field);
        for (int i = 0; i <= (f.topic ? picMainContainer.UBound() : 0); ++i) {
            if (f.kind == meeting::FieldKind::Text) {
                textField(f.field, i)->setAccessibleName(name);
                continue;
            }
            DatePicker* picker = datePicker(f.field, i);
            picker->setAccessibleName(name);
            picker->edit()->setAccessibleName(name);
            if (picker->checkBox())
                picker->checkBox()->setAccessibleName(name + QStringLiteral(" set"));
        }
    }
}

void Form1::watchHover(QWidget* w, int shape) { mHover.watch(w, shape); }

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        // Over the topics the wheel turns topics, also over a deadline, whose
        // date it would otherwise change unseen.
        const auto it = mFieldOf.constFind(watched);
        if (watched == Picture1 || (it != mFieldOf.constEnd() && meeting::isTopicField(it->field))) {
            turnTopicsByWheel(static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        const auto it = mFieldOf.constFind(watched);
        if (it != mFieldOf.constEnd() && meeting::isTopicField(it->field))
            VScroll1->setValue(it->topic);
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::placeStrip()
{
    const int h = platform::units::pixelsToTwips(picMainContainer[0]->height());
    const int v = VScroll1->value();
    const float top = static_cast<float>(h + 120) * static_cast<float>(-v);
    Picture3->move(Picture3->x(), platform::units::twipsToPixels(static_cast<int>(top)));
}

const ControlArray<QLineEdit>* Form1::topicTexts(Field f) const
{
    switch (f) {
    case Field::txtTimeAlloted: return &txtTimeAlloted;
    case Field::txtTopic: return &txtTopic;
    case Field::txtPresenter: return &txtPresenter;
    case Field::txtDiscussion1: return &txtDiscussion1;
    case Field::txtDiscussion2: return &txtDiscussion2;
    case Field::txtDiscussion3: return &txtDiscussion3;
    case Field::txtConclusion1: return &txtConclusion1;
    case Field::txtConclusion2: return &txtConclusion2;
    case Field::txtConclusion3: return &txtConclusion3;
    case Field::txtAction1: return &txtAction1;
    case Field::txtAction2: return &txtAction2;
    case Field::txtPerson1: return &txtPerson1;
    case Field::txtPerson2: return &txtPerson2;
    default: return nullptr;
    }
}

QLineEdit* Form1::textField(Field f, int topic) const
{
    if (const ControlArray<QLineEdit>* texts = topicTexts(f))
        return topic >= 0 && topic <= texts->UBound() ? (*texts)[topic] : nullptr;
    switch (f) {
    case Field::txtTitle: return txtTitle;
    case Field::txtMeetingLocation: return txtMeetingLocation;
    case Field::txtMeetingCalledBy: return txtMeetingCalledBy;
    case Field::txtTypeOfMeeting: return txtTypeOfMeeting;
    case Field::txtFacilitator: return txtFacilitator;
    case Field::txtNoteTaker: return txtNoteTaker;
    case Field::txtTimekeeper: return txtTimekeeper;
    case Field::txtAttendees: return txtAttendees;
    case Field::txtObservers: return txtObservers;
    case Field::txtResource: return txtResource;
    case Field::txtNotes: return txtNotes;
    default: return nullptr;
    }
}

DatePicker* Form1::datePicker(Field f, int topic) const
{
    if (f == Field::dtpDateTime)
        return dtpDateTime;
    if (f == Field::dtpDeadlin1)
        return dtpDeadlin1[topic];
    if (f == Field::dtpDeadline2)
        return dtpDeadline2[topic];
    return nullptr;
}

void Form1::assignText(Field f, int topic, const QString& text)
{
    QLineEdit* edit = textField(f, topic);
    if (edit->text() == text)
        meeting::saveText(f, topic, text);  // unchanged: no change signal, but the value is written all the same
    else
        edit->setText(text);
}

void Form1::assignDateTime(const QDateTime& value)
{
    if (dtpDateTime->value() == value)
        meeting::saveDateTime(value);
    else
        dtpDateTime->setValue(value);
}

void Form1::assignDeadline(Field f, int topic, const meeting::MaybeDate& value)
{
    DatePicker* picker = datePicker(f, topic);
    if (picker->value() == value)
        meeting::saveDeadline(f, topic, value);
    else
        picker->setValue(value);
}

void Form1::Form_Load()
{
    app::Guard g(app::label::Form1_Form_Load);
    g.step(102, [&] { ui::ApplySkin(this, SkinFramework1); });
    ui::setUpWindow(g, this, mPointer, [] { app::SetApplicationTitle(); });  // steps 104 to 110
    meeting::restoreRecord(*this, g);  // steps 130 to 182
    g.step(184, [] { docgen::CheckWordAvailable(); });
}

void Form1::PushButton22_Click() { docgen::fillTemplate(*this); }

void Form1::beginRun()
{
    mBusy = true;
    // The progress shows once the whole run, typing included, has taken long.
    mProgress.begin();
}

void Form1::PushButton2_Click()
{
    app::Guard g(app::label::Form1_PushButton2_Click);
    meeting::resetRecord(*this, g);
}

QString Form1::text(Field f, int topic) const { return textField(f, topic)->text(); }

meeting::MaybeDate Form1::deadline(Field f, int topic) const { return datePicker(f, topic)->value(); }

docgen::PreviewPort& Form1::preview()
{
    if (!mForm2) {
        // A window of its own, living as long as the program.
        mForm2 = new preview::Form2;
        mForm2->setAttribute(Qt::WA_DeleteOnClose, false);
        mForm2->setEntryWindow(this);
        mForm2->Form_Load();
    }
    return *mForm2;
}

void Form1::PushButton3_Click()
{
    app::Guard g(app::label::Form1_PushButton3_Click);
    meeting::loadSampleRecord(*this, g);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (!meeting::mayEndProgram()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void Form1::showStoreTrouble(const meeting::StoreTrouble& trouble)
{
    const QString text = meeting::troubleNotice(trouble);
    const int height = platform::units::twipsToPixels(kFormHeight);
    if (text.isEmpty()) {
        lblStoreNotice->hide();
        lblStoreNotice->clear();
        lblStoreNotice->setAccessibleName(QString());
        mSurface->setFixedHeight(height);
        fitToScreen();
        return;
    }
    // A long path wraps after a folder separator rather than running off the window.
    QString shown = text;
    shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    lblStoreNotice->setText(shown);
    lblStoreNotice->setAccessibleName(text);
    lblStoreNotice->resize(lblStoreNotice->width(), lblStoreNotice->heightForWidth(lblStoreNotice->width()));
    lblStoreNotice->show();
    // The window grows by the notice, so no field is covered.
    mSurface->setFixedHeight(lblStoreNotice->geometry().bottom() + 1 + platform::units::twipsToPixels(kMargin));
    fitToScreen();
    QAccessibleEvent alert(lblStoreNotice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Form1::Form_Unload() { app::endProgram(); }

void Form1::fitToScreen()
{
    const QSize room = ui::roomOnScreen(this), whole = mSurface->size();
    // A bar needed across takes room down the window, and the other way round.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mScroller);
    const bool down = whole.height() > room.height();
    const bool across = whole.width() + (down ? bar : 0) > room.width();
    const QSize size(whole.width() + (down ? bar : 0), whole.height() + (across ? bar : 0));
    setFixedSize(size.boundedTo(room));
}

void Form1::showEvent(QShowEvent* event)
{
    fitToScreen();
    ui::keepOnScreen(this);
    QWidget::showEvent(event);
}

}  // namespace entry
