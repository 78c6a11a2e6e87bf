#pragma once

#include "support/dialog_players.h"
#include "support/main_window_fixture.h"

#include "mapping/drive_letter_dialog.h"
#include "mapping/password_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <ostream>

// The enabled states of the group's buttons.
struct GroupButtons {
    bool Right, Left, AttachAll, AttachOne, Drive, DetachAll, DetachOne, Save;

    friend bool operator==(const GroupButtons&, const GroupButtons&) = default;
    friend std::ostream& operator<<(std::ostream& out, const GroupButtons& b)
    {
        return out << "right " << b.Right << " left " << b.Left << " attachAll " << b.AttachAll << " attachOne "
                   << b.AttachOne << " drive " << b.Drive << " detachAll " << b.DetachAll << " detachOne "
                   << b.DetachOne << " save " << b.Save;
    }
};

inline GroupButtons ButtonsOf(const TMainPRGForm& form)
{
    return {form.RightBtn->isEnabled(),     form.LeftBtn->isEnabled(),      form.Panel3->AttachAllBtn->isEnabled(),
            form.Panel3->AttachOneBtn->isEnabled(), form.Panel3->DriveBtn->isEnabled(),     form.Panel3->DetachAllBtn->isEnabled(),
            form.Panel3->DetachOneBtn->isEnabled(), form.Panel3->SaveBtn->isEnabled()};
}

constexpr std::uint32_t Bit(char letter)
{
    return 1U << (letter - 'A');
}

// A catalogue of three shares, the middle one asking for credentials.
class MappingTest : public MainWindowTest {
protected:
    static constexpr const char* Pub = "\\\\srv\\pub";
    static constexpr const char* Secret = "\\\\srv\\secret";
    static constexpr const char* Tools = "\\\\srv\\tools";

    std::unique_ptr<TMainPRGForm> StartWithCatalogue()
    {
        WriteCatalogue("3 2.0\r\n0,\\\\srv\\pub\r\nPublic\r\n1,\\\\srv\\secret\r\nSecret\r\n0,\\\\srv\\tools\r\n");
        return StartShown();
    }

    // Clicks a catalogue row and puts its path into the group under letter.
    void PutIntoGroup(TMainPRGForm& form, int row, const QString& letter)
    {
        ClickRow(form, row);
        Ui.Dialogs.push_back(ChooseLetter(letter));
        QTest::mouseClick(form.RightBtn, Qt::LeftButton);
    }

    void SelectLine(TMainPRGForm& form, int row) { form.Panel3->MappingListBox->setCurrentRow(row); }

    std::vector<std::vector<std::string>> Commands() const { return Runner.Calls; }
};
