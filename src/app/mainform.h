#pragma once

#include "platform/platform.h"
#include "profiles/profile_book.h"
#include "ui/handler_gate.h"
#include "ui/ui_services.h"

#include <QWidget>

#include <filesystem>
#include <optional>
#include <string>

class CataloguePanel;
class CataloguePreload;
class GroupPanel;
class ProfilePanel;
class QLabel;
class QPushButton;
class QToolButton;

// The program's one window: the profile strip, the catalogue and the group,
// with the arrows between them. It loads them at start and writes them back
// when it closes.
class TMainPRGForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainPRGForm)

public:
    // With preload, the catalogue read at the start is taken from it.
    TMainPRGForm(std::filesystem::path exeDirectory, PlatformServices platform, UiServices& ui,
                 QWidget* parent = nullptr, CataloguePreload* preload = nullptr);
    ~TMainPRGForm() override;

    const ProfileBook& Profiles() const { return Book; }

    void FormActivate();
    void FormClose();
    // The desktop session ends: everything is saved as at a close, and
    // nothing is asked, since nobody may be there to answer.
    void SaveAtSessionEnd();
    void ExitBtnClick();
    void RightBtnClick();
    void LeftBtnClick();
    void AboutBtnClick();
    void HelpBtnClick();
    // The help context number of widget or of its nearest enclosing control.
    std::optional<int> HelpContextOf(QWidget* widget) const;
    void ShowContextHelp(QWidget* widget);

    // Controls, named as the user sees them.
    ProfilePanel* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    CataloguePanel* Panel2 = nullptr;
    QToolButton* RightBtn = nullptr;
    QToolButton* LeftBtn = nullptr;
    GroupPanel* Panel3 = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* AboutBtn = nullptr;
    QPushButton* ExitBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateArrowButtons();
    void CreateBottomButtons();
    void SetTabOrder();
    void SetHelpContexts();
    void ConnectHandlers();
    void SetUpContextHelp();
    void StartUp(CataloguePreload* preload);

    std::filesystem::path ExeDir;
    std::string HelpFilePath;
    PlatformServices Services;
    UiServices& UserInterface;
    ProfileBook Book;
    HandlerGate Gate;
    bool Activated = false;
    bool IconSet = false;
    bool Closed = false;
};
