#include "mainform.h"

#include "catalogue/catalogue_images.h"
#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_model.h"
#include "platform/path_style.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <initializer_list>

namespace {

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, QRect geometry)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setGeometry(geometry);
    return widget;
}

QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry)
{
    auto* panel = Make<QFrame>(parent, name, geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, bool bold = false)
{
    auto* label = Make<QLabel>(parent, name, geometry);
    label->setText(text);
    if (bold) {
        auto font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        bool enabled = true)
{
    auto* button = Make<QPushButton>(parent, name, geometry);
    button->setText(caption);
    button->setEnabled(enabled);
    return button;
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name, QRect geometry, QLabel* label)
{
    auto* edit = Make<QLineEdit>(parent, name, geometry);
    edit->setReadOnly(true);
    label->setBuddy(edit);
    edit->setAccessibleName(label->text());
    return edit;
}

} // namespace

TMainPRGForm::TMainPRGForm(std::filesystem::path exeDirectory, PlatformServices platform, UiServices& ui,
                           QWidget* parent, CataloguePreload* preload)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      ExeDir(std::move(exeDirectory)), HelpFilePath(PathText(ExeDir / "Corvane2.hlp")), Services(platform),
      UserInterface(ui), Preload(preload)
{
    setObjectName(QStringLiteral("MainPRGForm"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setFixedSize(722, 507);
    auto windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);

    ImageList1 = MakeCatalogueImages();
    CreateProfilePanel();
    CreateCatalogueTitles();
    CreateCataloguePanel();
    CreateArrowButtons();
    CreateGroupPanel();
    CreateBottomButtons();
    SetTabOrder();
    SetHelpContexts();
    ConnectHandlers();
    SetUpContextHelp();
    CreateLineStateProbes();

    StartUp();
}

TMainPRGForm::~TMainPRGForm()
{
    // The list empties itself after this window is gone: nothing is to look at its lines then.
    NetworkWatch.reset();
    MappingListBox->model()->disconnect(this);
    LineStateChange->stop();
    // A probe under way still asks the inventory, which may go with this window;
    // one past its time lies on a stalled server and is left behind.
    for (auto& probe : Probing) {
        if (probe && !probe->Late)
            probe->Answer.wait_until(probe->Deadline);
    }
}

void TMainPRGForm::CreateProfilePanel()
{
    Panel1 = MakePanel(this, "Panel1", {0, 0, 722, 41});
    P1Label = MakeLabel(Panel1, "P1Label", QStringLiteral("Profile List:"), {10, 12, 80, 17}, true);
    ProfileComboBox = Make<QComboBox>(Panel1, "ProfileComboBox", {92, 9, 420, 23});
    ProfileComboBox->setEditable(true);
    ProfileComboBox->setInsertPolicy(QComboBox::NoInsert);
    ProfileComboBox->addItem(QStringLiteral("Default Network Mapping List"),
                             QByteArray("Default Network Mapping List"));
    ProfileComboBox->setToolTip(
        QStringLiteral("You should only select the profile! Use the Add button to create a new profile!"));
    ProfileComboBox->setAccessibleName(P1Label->text());
    P1Label->setBuddy(ProfileComboBox);
    AddProfileBtn = MakeButton(Panel1, "AddProfileBtn", QStringLiteral("&Add"), {528, 8, 88, 25});
    RemoveProfileBtn = MakeButton(Panel1, "RemoveProfileBtn", QStringLiteral("&Remove"), {624, 8, 88, 25}, false);
}

void TMainPRGForm::CreateCatalogueTitles()
{
    Label2 = MakeLabel(this, "Label2", QStringLiteral(" Available Network Paths"), {8, 47, 344, 17}, true);
    Label3 = MakeLabel(this, "Label3", QStringLiteral(" Network Map Group"), {392, 47, 322, 17}, true);
}

void TMainPRGForm::CreateCataloguePanel()
{
    Panel2 = MakePanel(this, "Panel2", {8, 66, 344, 390});
    AvailableListView = new CatalogueListView(Panel2);
    AvailableListView->setObjectName(QStringLiteral("AvailableListView"));
    AvailableListView->setGeometry(8, 8, 328, 208);
    AvailableListView->setAccessibleName(Label2->text().trimmed());
    CatalogueRows = new CatalogueModel(AvailablePathList, ImageList1, AvailableListView);
    AvailableListView->setModel(CatalogueRows);

    NetworkPathLabel = MakeLabel(Panel2, "NetworkPathLabel", QStringLiteral("Network Path:"), {8, 224, 328, 16});
    NetworkPathEdit = MakeReadOnlyEdit(Panel2, "NetworkPathEdit", {8, 241, 328, 22}, NetworkPathLabel);
    DescriptionLabel = MakeLabel(Panel2, "DescriptionLabel", QStringLiteral("Description:"), {8, 270, 328, 16});
    DescriptionEdit = MakeReadOnlyEdit(Panel2, "DescriptionEdit", {8, 287, 328, 22}, DescriptionLabel);
    RequiresPWLabel = MakeLabel(Panel2, "RequiresPWLabel", QStringLiteral("Requires Username and Password"),
                                {8, 318, 328, 17});
    auto blue = RequiresPWLabel->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    RequiresPWLabel->setPalette(blue);

    AddBtn = MakeButton(Panel2, "AddBtn", QStringLiteral("&Add"), {8, 352, 104, 27});
    EditBtn = MakeButton(Panel2, "EditBtn", QStringLiteral("&Edit"), {120, 352, 104, 27}, false);
    RemoveBtn = MakeButton(Panel2, "RemoveBtn", QStringLiteral("&Remove"), {232, 352, 104, 27}, false);
}

void TMainPRGForm::CreateArrowButtons()
{
    const auto makeArrow = [this](const char* name, bool pointsLeft, int top, const QString& hint) {
        auto* button = Make<QToolButton>(this, name, {358, top, 28, 28});
        button->setIcon(QIcon(pointsLeft ? QStringLiteral(":/images/arrow-left.png")
                                         : QStringLiteral(":/images/arrow-right.png")));
        button->setAutoRaise(true);
        button->setIconSize(QSize(20, 20));
        button->setFocusPolicy(Qt::StrongFocus);
        button->setToolTip(hint);
        button->setAccessibleName(hint.trimmed());
        button->setEnabled(false);
        return button;
    };
    RightBtn = makeArrow("RightBtn", false, 190,
                         QStringLiteral(" Add selected network path to the mapping list..."));
    LeftBtn = makeArrow("LeftBtn", true, 230,
                        QStringLiteral(" Remove selected network connection from the mapping list..."));
}

void TMainPRGForm::CreateGroupPanel()
{
    Panel3 = MakePanel(this, "Panel3", {392, 66, 322, 390});
    MappingListBox = Make<QListWidget>(Panel3, "MappingListBox", {8, 8, 306, 262});
    MappingListBox->setAccessibleName(Label3->text().trimmed());
    MappingListBox->setUniformItemSizes(true);

    AttachAllBtn = MakeButton(Panel3, "AttachAllBtn", QStringLiteral("&Attach All"), {8, 280, 98, 27}, false);
    DetachAllBtn = MakeButton(Panel3, "DetachAllBtn", QStringLiteral("&Detach All"), {112, 280, 98, 27}, false);
    DriveBtn = MakeButton(Panel3, "DriveBtn", QStringLiteral("&Change Drive"), {216, 280, 98, 27}, false);
    AttachOneBtn = MakeButton(Panel3, "AttachOneBtn", QStringLiteral("Attach &1"), {8, 314, 98, 27}, false);
    DetachOneBtn = MakeButton(Panel3, "DetachOneBtn", QStringLiteral("D&etach 1"), {112, 314, 98, 27}, false);
    SaveBtn = MakeButton(Panel3, "SaveBtn", QStringLiteral("&Save Profile"), {216, 314, 98, 27}, false);
    RestoreConnectionCheckBox = Make<QCheckBox>(Panel3, "RestoreConnectionCheckBox", {8, 354, 306, 20});
    RestoreConnectionCheckBox->setText(QStringLiteral("Restore at next login..."));
}

void TMainPRGForm::CreateBottomButtons()
{
    HelpBtn = MakeButton(this, "HelpBtn", QStringLiteral("&Help"), {454, 466, 82, 32});
    HelpBtn->setIcon(QIcon(QStringLiteral(":/images/help.png")));
    AboutBtn = MakeButton(this, "AboutBtn", QStringLiteral("&About"), {543, 466, 82, 32});
    ExitBtn = MakeButton(this, "ExitBtn", QStringLiteral("&Exit"), {632, 466, 82, 32});
}

void TMainPRGForm::SetTabOrder()
{
    QWidget* const order[] = {
        HelpBtn, AboutBtn, ExitBtn,
        ProfileComboBox, AddProfileBtn, RemoveProfileBtn,
        AvailableListView, NetworkPathEdit, DescriptionEdit, AddBtn, EditBtn, RemoveBtn,
        RightBtn, LeftBtn,
        MappingListBox, AttachAllBtn, DetachAllBtn, DriveBtn, AttachOneBtn, DetachOneBtn, SaveBtn,
        RestoreConnectionCheckBox,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TMainPRGForm::SetHelpContexts()
{
    const auto set = [](QObject* object, int context) { object->setProperty("helpContext", context); };
    set(this, 1000);
    set(Label2, 1001);
    set(Label3, 1002);
    set(P1Label, 1009);
    set(DescriptionLabel, 1014);
    set(NetworkPathLabel, 1015);
    set(RequiresPWLabel, 1016);
    for (QWidget* control : std::initializer_list<QWidget*>{Panel1, ProfileComboBox, AddProfileBtn,
                                                            RemoveProfileBtn})
        set(control, 3050);
    for (QWidget* control : std::initializer_list<QWidget*>{Panel2, AvailableListView, NetworkPathEdit,
                                                            DescriptionEdit, AddBtn, EditBtn, RemoveBtn})
        set(control, 3030);
    for (QWidget* control : std::initializer_list<QWidget*>{Panel3, MappingListBox, AttachAllBtn, DetachAllBtn,
                                                            DriveBtn, AttachOneBtn, DetachOneBtn, SaveBtn,
                                                            RestoreConnectionCheckBox, RightBtn, LeftBtn})
        set(control, 3040);
    set(AboutBtn, 3060);
    set(ExitBtn, 3060);
}

void TMainPRGForm::ConnectHandlers()
{
    // A screen reader presses a button without any input event, past modal
    // windows and the input blocked while the network command runs: so no
    // handler starts while another one is still running.
    const auto handler = [this](void (TMainPRGForm::*run)()) {
        return [this, run] {
            if (HandlerRunning || CommandRunning)
                return;
            const QScopedValueRollback running(HandlerRunning, true);
            (this->*run)();
        };
    };
    connect(ExitBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::ExitBtnClick));
    connect(AvailableListView, &CatalogueListView::Clicked, this, handler(&TMainPRGForm::AvailableListViewClick));
    connect(ProfileComboBox, &QComboBox::activated, this, handler(&TMainPRGForm::ProfileComboBoxChange));
    connect(ProfileComboBox, &QComboBox::editTextChanged, this, handler(&TMainPRGForm::ProfileComboBoxChange));
    connect(AddProfileBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::AddProfileBtnClick));
    connect(RemoveProfileBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::RemoveProfileBtnClick));
    connect(HelpBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::HelpBtnClick));
    connect(AboutBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::AboutBtnClick));
    connect(SaveBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::SaveBtnClick));
    connect(AddBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::AddBtnClick));
    connect(EditBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::EditBtnClick));
    connect(RemoveBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::RemoveBtnClick));
    connect(RightBtn, &QToolButton::clicked, this, handler(&TMainPRGForm::RightBtnClick));
    connect(LeftBtn, &QToolButton::clicked, this, handler(&TMainPRGForm::LeftBtnClick));
    connect(DriveBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::DriveBtnClick));
    connect(AttachAllBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::AttachAllBtnClick));
    connect(AttachOneBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::AttachOneBtnClick));
    connect(DetachAllBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::DetachAllBtnClick));
    connect(DetachOneBtn, &QPushButton::clicked, this, handler(&TMainPRGForm::DetachOneBtnClick));
    // The session's end may not wait for an answer.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { SaveAtSessionEnd(); });
}

void TMainPRGForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window is first activated when it is first shown; a dialog closing
    // later gives it the focus back without a new activation.
    if (!Activated) {
        Activated = true;
        if (const auto* where = screen())
            move(where->availableGeometry().center() - frameGeometry().center() + pos());
        FormActivate();
    }
}

void TMainPRGForm::closeEvent(QCloseEvent* event)
{
    if (CommandRunning) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TMainPRGForm::event(QEvent* event)
{
    // What's This on the window itself, where no control is.
    if (event->type() == QEvent::WhatsThis) {
        ShowContextHelp(this);
        return true;
    }
    if (event->type() == QEvent::QueryWhatsThis)
        return true;
    // Four pictures to decode and hand to the window system: after the
    // window's first paint, which does not need them.
    if (event->type() == QEvent::Paint && !IconSet) {
        IconSet = true;
        QMetaObject::invokeMethod(this, [this] { setWindowIcon(ProgramIcon()); }, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void TMainPRGForm::ExitBtnClick()
{
    close();
}
