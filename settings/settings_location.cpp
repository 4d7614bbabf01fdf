#include "settings/settings_location.h"

#include "settings/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace kelvator {

bool IsInstalledFolder(const QString& folder)
{
    const QString name = QFileInfo(folder).fileName();
    if (name == QLatin1String("bin") || name == QLatin1String("sbin") || name == QLatin1String("games"))
        return true;
    for (const char* root : {"/usr", "/opt", "/snap", "/nix/store"}) {
        const QString r = QString::fromLatin1(root);
        if (folder == r || folder.startsWith(r + u'/'))
            return true;
    }
    return false;
}

SettingsLocation ChooseSettingsLocation(const SettingsPlaces& places)
{
    const QFileInfo program(places.programPath);
    const QString folder = program.absolutePath();
    const QString name = program.completeBaseName() + QStringLiteral(".ini");
    const QString beside = QDir(folder).filePath(name);
    if (!IsInstalledFolder(folder) && places.folderWritable(folder))
        return {beside, {}};
    const QString config = QDir(places.configFolder).filePath(name);
    if (places.fileExists(config) || !places.fileExists(beside))
        return {config, {}};
    return {config, beside};
}

SettingsPlaces RealSettingsPlaces()
{
    SettingsPlaces places;
    // The executable as the system started it, links resolved: where the program really is.
    places.programPath = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (places.programPath.isEmpty())
        places.programPath = QCoreApplication::applicationFilePath();
    places.configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // Permission bits, read-only mounts and access lists all count.
    places.folderWritable = [](const QString& folder) { return QFileInfo(folder).isWritable(); };
    places.fileExists = [](const QString& file) {
        return QFileInfo::exists(file) || QFileInfo(file).isSymLink();
    };
    return places;
}

bool MakePrivateFolder(const QString& folder)
{
    QStringList missing;
    QString level = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo::exists(level)) {
        missing.prepend(level);
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            break;
        level = parent;
    }
    // QDir::mkpath would make them 0755 (0777 less the usual umask).
    for (const QString& made : missing) {
        if (::mkdir(QFile::encodeName(made).constData(), kPrivateFolderMode) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(folder).isDir();
}

CarriedSettings CarryOverSettings(const SettingsLocation& location)
{
    MakePrivateFolder(QFileInfo(location.path).absolutePath());
    if (location.carryFrom.isEmpty())
        return {location.path, {}};
    const FileContents old = ReadSettingsFile(location.carryFrom);
    if (old.status != FileStatus::Ok)
        return {location.path, {}}; // nothing usable to carry: the program starts afresh there
    if (!WriteFileAtomically(location.path, old.bytes))
        return {location.carryFrom, {}};
    return {location.path, QStringLiteral("A beállításokat a program mostantól itt tárolja:\r\n%1\r\n"
                                          "A program mellett lévő fájlt (%2) ide másolta, azt nem módosítja.")
                               .arg(location.path, location.carryFrom)};
}

} // namespace kelvator
