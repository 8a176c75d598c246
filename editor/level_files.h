// Where the editor's file dialogs open and what they offer, the question
// before Save as replaces a file, and the backup each save keeps of the file
// it replaces.
#pragma once

#include <string>
#include <vector>

// The data folder's level folder whatever the case of its name ("LEVEL",
// "Level", "level"), as an absolute path; the data folder itself when it has
// none.
std::string DataLevelFolder(const std::string& dataFolder);

// The user's own levels folder ($XDG_DATA_HOME/kelvane/levels), when it
// exists; empty otherwise.
std::string ExistingUserLevelsFolder();

// What a level file dialog shows at first.
struct LevelDialogPlaces {
    std::string folder;              // the folder it opens in
    std::string fileName;            // in the name box: empty, or the current file's name
    std::vector<std::string> places; // offered beside the folder view, in order
};

// The current file's folder and name when there is a file. Otherwise Load
// opens in the data's level folder, and Save as in the user's levels folder
// when it exists (a new level belongs to its author) or else the data's.
// Both offer the data's level folder and the user's levels folder.
LevelDialogPlaces LevelDialogPlacesFor(bool forSave, const std::string& currentFile,
                                       const std::string& dataFolder);

// "NAME.bak" beside `path`.
std::string BackupName(const std::string& path);

// Copies the file at `path`, when there is one, to BackupName(path). True
// when there was nothing to keep or the copy was written.
bool KeepBackup(const std::string& path);
