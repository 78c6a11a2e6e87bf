#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <string>

// Users of the modal dialogs, for FakeUi::Dialogs.
using DialogPlayer = std::function<int(QDialog&)>;

// Types text into the drive letter dialog and presses OK; offered, if given,
// receives the letters the dialog listed.
DialogPlayer ChooseLetter(const QString& text, QStringList* offered = nullptr);
// Closes a dialog with its close box.
DialogPlayer CloseDialog();
// Types into the credentials dialog and presses OK; seenEmpty, if given,
// tells whether both fields were empty when it opened.
DialogPlayer EnterCredentials(const QString& user, const QString& password, bool* seenEmpty = nullptr);
DialogPlayer CancelCredentials();
// Fills the network path dialog's fields as typed and presses OK; seen, if
// given, receives the dialog's fields as they were when it opened.
struct PathFields {
    QString Path;
    QString Description;
    bool RequiresPW = false;
    bool OkEnabled = false;
};
DialogPlayer EnterPath(const PathFields& fields, PathFields* seen = nullptr);
// Presses OK in the network path dialog without touching it.
DialogPlayer AcceptPath(PathFields* seen = nullptr);
// Types a name into the profile name dialog and presses OK.
DialogPlayer EnterProfileName(const QString& name);
