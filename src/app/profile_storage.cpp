#include "app/mainform.h"

#include "app/display_text.h"
#include "mapping/profile_group.h"
#include "platform/path_style.h"
#include "store/atomic_file.h"
#include "store/profile_files.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

constexpr int BytesRole = Qt::UserRole;

} // namespace

bool TMainPRGForm::CheckDirectory(const std::filesystem::path& directory, bool create)
{
    std::error_code error;
    if (std::filesystem::is_directory(directory, error))
        return true;
    if (!create)
        return false;
    // One level only: the parent must be there already.
    if (std::filesystem::create_directory(directory, error) && !error)
        return true;
    ShowPlain(" Cannot create the directory\n " + PathText(directory) + "!");
    return false;
}

std::string TMainPRGForm::ProfileName(int index) const
{
    return ProfileComboBox->itemData(index, BytesRole).toByteArray().toStdString();
}

std::optional<std::filesystem::path> TMainPRGForm::ProfileFile(int index) const
{
    if (index <= 0)
        return ExeDir / DefaultProfileFileName;
    const auto name = ProfileName(index);
    if (!IsSafeProfileName(name))
        return std::nullopt;
    return ProfileDirectory / TextPath(name + ".pro");
}

std::string TMainPRGForm::ProfileFileText(int index) const
{
    if (const auto file = ProfileFile(index))
        return PathText(*file);
    return PathText(ProfileDirectory) + ProfileName(index) + ".pro";
}

void TMainPRGForm::SelectProfile(int index)
{
    // The program's own choice of item is no change of the user's.
    const QSignalBlocker quiet(ProfileComboBox);
    ProfileComboBox->setCurrentIndex(index);
}

std::string TMainPRGForm::ReadConfigFile(const std::filesystem::path& path)
{
    ProfileIndex = 0;
    auto stored = ReadConfigurationFile(path);
    ConfigAtStart = {stored.Status, false, {}};
    if (stored.Status != FileReadStatus::Read)
        return std::string(DefaultProfileFileName);

    const auto& configuration = stored.Configuration;
    if (stored.Damaged) {
        ConfigAtStart = {stored.Status, true, std::move(stored.Bytes)};
        ShowPlain(" The Corvane2.cfg file is corrupted!");
    }
    {
        const QSignalBlocker quiet(ProfileComboBox);
        for (const auto& name : configuration.Names)
            AppendProfileItem(name);
    }
    ProfileIndex = configuration.ProfileIndex;
    SelectProfile(ProfileIndex);
    if (ProfileComboBox->count() > 1 && ProfileIndex > 0)
        RemoveProfileBtn->setEnabled(true);
    return ProfileIndex == 0 ? std::string(DefaultProfileFileName) : ProfileName(ProfileIndex) + ".pro";
}

void TMainPRGForm::WriteConfigFile(const std::filesystem::path& path)
{
    ProfileConfiguration configuration;
    configuration.ProfileIndex = ProfileIndex;
    for (int index = 1; index < ProfileComboBox->count(); ++index)
        configuration.Names.push_back(ProfileName(index));
    if (!WriteStoredFile(path, ConfigAtStart, FormatConfiguration(configuration)))
        ShowBox(" Was not able to create the configuration file!", " Error", MessageIcon::Error);
}

void TMainPRGForm::LoadMappingList(const std::string& fileName)
{
    const auto directory = ProfileIndex != 0 ? ProfileDirectory : ExeDir / "";
    const auto fullPath = PathText(directory) + fileName;
    auto lines = ReadProfileGroup(directory, fileName);
    if (!lines) {
        ShowBox("File :\n" + fullPath + "\nwas not found and will be created...", " Information",
                MessageIcon::Information);
        return;
    }
    const bool any = !lines->empty();
    AddGroupLines(std::move(*lines));
    if (any) {
        for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DriveBtn, LeftBtn})
            control->setEnabled(true);
    }
}

void TMainPRGForm::SaveBtnClick()
{
    SaveGroup();
}

bool TMainPRGForm::SaveGroup()
{
    const auto file = ProfileFile(ProfileIndex);
    if (!file || !SaveFileAtomically(*file, FormatProfile(GroupLines()))) {
        ShowBox(" Was not able to save the profile mapping list!", " Error", MessageIcon::Error);
        return false;
    }
    SaveBtn->setEnabled(false);
    return true;
}
