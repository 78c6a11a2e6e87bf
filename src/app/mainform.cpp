#include "mainform.h"

#include "app/about_box.h"
#include "catalogue/catalogue_images.h"
#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_panel.h"
#include "mapping/group_panel.h"
#include "platform/path_style.h"
#include "profiles/profile_panel.h"
#include "ui/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include <initializer_list>

TMainPRGForm::TMainPRGForm(std::filesystem::path exeDirectory, PlatformServices platform, UiServices& ui,
                           QWidget* parent, CataloguePreload* preload)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint),
      ExeDir(std::move(exeDirectory)), HelpFilePath(PathText(ExeDir / "Corvane2.hlp")), Services(platform),
      UserInterface(ui), Book(ExeDir)
{
    setObjectName(QStringLiteral("MainPRGForm"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setFixedSize(722, 507);
    auto windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);

    // The panels reach each other only through what the window hands them.
    Panel1 = new ProfilePanel(Book, ui, Gate, [this] { return Panel3->AskToSaveGroup(); }, this);
    Label2 = MakeLabel(this, "Label2", QStringLiteral(" Available Network Paths"), {8, 47, 344, 17}, true);
    Label3 = MakeLabel(this, "Label3", QStringLiteral(" Network Map Group"), {392, 47, 322, 17}, true);
    Panel2 = new CataloguePanel(ExeDir, Services.Browser, Services.Shares, ui, Gate, this);
    Panel2->AvailableListView->setAccessibleName(Label2->text().trimmed());
    CreateArrowButtons();
    Panel3 = new GroupPanel(
        Services, ui, Gate, Book, [this](std::string_view path) { return ::PathRequiresPW(Panel2->AvailablePathList, path); },
        this);
    Panel3->MappingListBox->setAccessibleName(Label3->text().trimmed());
    CreateBottomButtons();
    SetTabOrder();
    SetHelpContexts();
    ConnectHandlers();
    SetUpContextHelp();

    StartUp(preload);
}

TMainPRGForm::~TMainPRGForm() = default;

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
        Panel1->ProfileComboBox, Panel1->AddProfileBtn, Panel1->RemoveProfileBtn,
        Panel2->AvailableListView, Panel2->NetworkPathEdit, Panel2->DescriptionEdit,
        Panel2->AddBtn, Panel2->EditBtn, Panel2->RemoveBtn,
        RightBtn, LeftBtn,
        Panel3->MappingListBox, Panel3->AttachAllBtn, Panel3->DetachAllBtn, Panel3->DriveBtn,
        Panel3->AttachOneBtn, Panel3->DetachOneBtn, Panel3->SaveBtn, Panel3->RestoreConnectionCheckBox,
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
    set(Panel1->P1Label, 1009);
    set(Panel2->DescriptionLabel, 1014);
    set(Panel2->NetworkPathLabel, 1015);
    set(Panel2->RequiresPWLabel, 1016);
    for (QWidget* control : std::initializer_list<QWidget*>{Panel1, Panel1->ProfileComboBox, Panel1->AddProfileBtn,
                                                            Panel1->RemoveProfileBtn})
        set(control, 3050);
    for (QWidget* control : std::initializer_list<QWidget*>{Panel2, Panel2->AvailableListView, Panel2->NetworkPathEdit,
                                                            Panel2->DescriptionEdit, Panel2->AddBtn, Panel2->EditBtn,
                                                            Panel2->RemoveBtn})
        set(control, 3030);
    for (QWidget* control : std::initializer_list<QWidget*>{
             Panel3, Panel3->MappingListBox, Panel3->AttachAllBtn, Panel3->DetachAllBtn, Panel3->DriveBtn,
             Panel3->AttachOneBtn, Panel3->DetachOneBtn, Panel3->SaveBtn, Panel3->RestoreConnectionCheckBox, RightBtn,
             LeftBtn})
        set(control, 3040);
    set(AboutBtn, 3060);
    set(ExitBtn, 3060);
}

void TMainPRGForm::ConnectHandlers()
{
    Gate.Connect(ExitBtn, &QPushButton::clicked, this, &TMainPRGForm::ExitBtnClick);
    Gate.Connect(HelpBtn, &QPushButton::clicked, this, &TMainPRGForm::HelpBtnClick);
    Gate.Connect(AboutBtn, &QPushButton::clicked, this, &TMainPRGForm::AboutBtnClick);
    Gate.Connect(RightBtn, &QToolButton::clicked, this, &TMainPRGForm::RightBtnClick);
    Gate.Connect(LeftBtn, &QToolButton::clicked, this, &TMainPRGForm::LeftBtnClick);
    connect(Panel2, &CataloguePanel::PathOffered, RightBtn, &QWidget::setEnabled);
    connect(Panel3, &GroupPanel::LinesRemovable, LeftBtn, &QWidget::setEnabled);
    connect(Panel1, &ProfilePanel::ProfileSwitched, Panel3, &GroupPanel::ShowProfileGroup);
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
    if (Gate.CommandRunning) {
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

void TMainPRGForm::RightBtnClick()
{
    if (!Panel2->HasSelection())
        return;
    const auto letter = Panel3->AskForDriveLetter();
    const auto path = Panel2->SelectedPath();
    if (letter && path)
        Panel3->AddPath(*letter, *path);
}

void TMainPRGForm::LeftBtnClick()
{
    Panel3->RemoveSelectedLine();
}

void TMainPRGForm::AboutBtnClick()
{
    TAboutBox dialog(*this, Services.Shell);
    UserInterface.RunModal(dialog);
}
