#pragma once

#include <QString>

#include <functional>

namespace kelvator {

// Where the settings file is kept.
struct SettingsLocation {
    QString path;      // the file read and written
    QString carryFrom; // a file beside the program to copy to path before the first read, or empty
};

// What the choice looks at, so that it can be tried without an installation.
struct SettingsPlaces {
    QString programPath;  // the real executable, links resolved
    QString configFolder; // the user's configuration folder for the program
    std::function<bool(const QString& folder)> folderWritable;
    std::function<bool(const QString& file)> fileExists;
};

// The folders a package or `cmake --install` puts programs in: no place for one user's settings,
// even where the user (root) could write there.
bool IsInstalledFolder(const QString& folder);

// Beside the program when it runs from a folder of its own that can be written; otherwise in the
// configuration folder, where a file already there wins and a file beside the program is carried
// over the first time.
SettingsLocation ChooseSettingsLocation(const SettingsPlaces& places);
// The running program, its configuration folder and the file system.
SettingsPlaces RealSettingsPlaces();

// Permission bits of a folder the program makes: its owner's alone.
constexpr unsigned kPrivateFolderMode = 0700;
// Makes the folder and every missing folder above it with kPrivateFolderMode; folders that exist
// keep theirs. True when the folder is there in the end.
bool MakePrivateFolder(const QString& folder);

struct CarriedSettings {
    QString path;   // the file to use
    QString notice; // what to tell the user once, or empty
};
// Makes the configuration folder (see MakePrivateFolder) and copies the file beside the program
// into it, as a new, private file. Where that copy cannot be written, the file beside the program
// is used where it is.
CarriedSettings CarryOverSettings(const SettingsLocation& location);

} // namespace kelvator
