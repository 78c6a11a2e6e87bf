#pragma once

#include <QDialog>
#include <QLabel>

class QFrame;
class QPlainTextEdit;
class QPushButton;
class ShellOpener;

// A label that reads and acts as a link: clicked with the mouse, or with
// Enter or Space once it has the focus.
class LinkLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkLabel)

public:
    LinkLabel(const QString& text, QWidget* parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

inline constexpr const char* WebHost = "corvane.example.org";
inline constexpr const char* WebAddress = "https://corvane.example.org/";
inline constexpr const char* SupportAddress = "support@corvane.example.org";

// Names the program, its version and its makers, with a web and a mail link.
class TAboutBox final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAboutBox)

public:
    TAboutBox(QWidget& owner, ShellOpener& shell);

    void InternetClick();
    void SendEmailClick();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* CompanyLabel1 = nullptr;
    QLabel* CompanyLabel2 = nullptr;
    QLabel* Label1 = nullptr;
    LinkLabel* Internet = nullptr;
    LinkLabel* SendEmail = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;

private:
    ShellOpener& Shell;
};
