#include "about_box.h"

#include "platform/platform.h"
#include "ui/ui_services.h"
#include "catalogue/catalogue_images.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, QColor color = Qt::black)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    label->setGeometry(geometry);
    auto palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QFont Styled(QFont font, bool bold, bool italic)
{
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}


} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit Clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

TAboutBox::TAboutBox(QWidget& owner, ShellOpener& shell)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Shell(shell)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral(" About..."));
    setFixedSize(391, 257);
    auto boxFont = font();
    boxFont.setPointSize(8);
    setFont(boxFont);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 300, 257);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    auto tooltip = Panel1->palette();
    tooltip.setColor(QPalette::Window, tooltip.color(QPalette::ToolTipBase));
    Panel1->setPalette(tooltip);

    ProgramIcon = MakeLabel(Panel1, "ProgramIcon", {}, {8, 8, 33, 33});
    ProgramIcon->setPixmap(::ProgramIcon().pixmap(32, 32));
    ProgramIcon->setAlignment(Qt::AlignCenter);

    ProductName = MakeLabel(Panel1, "ProductName", QStringLiteral("Corvane  2.0"), {52, 10, 240, 28},
                            QColor(128, 0, 128));
    QFont serif(QStringLiteral("Palatino Linotype"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(21);
    ProductName->setFont(Styled(serif, true, true));

    CompanyLabel1 = MakeLabel(Panel1, "CompanyLabel1", QStringLiteral("The Corvane developers"), {8, 48, 284, 16},
                              QColor(0, 128, 128));
    CompanyLabel1->setFont(Styled(font(), true, false));
    CompanyLabel2 = MakeLabel(Panel1, "CompanyLabel2", QStringLiteral("Network drives, one click away"),
                              {8, 64, 284, 16}, QColor(0, 128, 128));
    CompanyLabel2->setFont(Styled(font(), true, true));

    Label1 = MakeLabel(Panel1, "Label1", QStringLiteral("Contact at:"), {8, 88, 284, 16});
    Label1->setFont(Styled(font(), true, false));
    Internet = new LinkLabel(QStringLiteral("Internet: ") + QLatin1StringView(WebHost), Panel1);
    Internet->setObjectName(QStringLiteral("Internet"));
    Internet->setGeometry(16, 104, 276, 16);
    SendEmail = new LinkLabel(QStringLiteral("E-mail: ") + QLatin1StringView(SupportAddress), Panel1);
    SendEmail->setObjectName(QStringLiteral("SendEmail"));
    SendEmail->setGeometry(16, 120, 276, 16);
    for (auto* link : {Internet, SendEmail}) {
        auto palette = link->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(palette);
        auto linkFont = Styled(font(), true, false);
        linkFont.setUnderline(true);
        link->setFont(linkFont);
    }

    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 144, 284, 76);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setPalette(tooltip);
    Memo1->setBackgroundVisible(false);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setAccessibleName(QStringLiteral("Licence"));
    Memo1->setPlainText(QStringLiteral("Corvane is free to use, to copy and to pass on.\n"
                                       "It comes with no warranty of any kind.\n"
                                       "You use it at your own risk.\n"
                                       "The licence file beside it has the full terms."));

    Label2 = MakeLabel(Panel1, "Label2", QStringLiteral("Made by the Corvane developers"), {8, 230, 284, 16});
    Label2->setFont(Styled(font(), true, false));

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(308, 222, 75, 27);
    BitBtn1->setDefault(true);

    setTabOrder(Memo1, Internet);
    setTabOrder(Internet, SendEmail);
    setTabOrder(SendEmail, BitBtn1);
    Memo1->setFocus();

    connect(Internet, &LinkLabel::Clicked, this, &TAboutBox::InternetClick);
    connect(SendEmail, &LinkLabel::Clicked, this, &TAboutBox::SendEmailClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::InternetClick()
{
    Shell.Open(WebAddress);
}

void TAboutBox::SendEmailClick()
{
    Shell.Open(std::string("mailto:") + SupportAddress);
}
