// The settings file against the file system: a full disk, a read-only folder, two quick starts,
// who may read the file.
#include "events_fixture.h"
#include "window_fixture.h"

#include "platform/single_instance.h"
#include "settings/inifile.h"
#include "settings/settings_location.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::OuterPages;

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ok = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ok;
}

// A mount made for one test and taken away after it; needs root, as CI has.
struct Mount {
    QString where;
    QString error;
    bool mounted = false;
    Mount(const QString& folder, const QStringList& arguments)
        : where(folder)
    {
        mounted = Run(QStringLiteral("mount"), arguments + QStringList{folder}, &error);
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    ~Mount()
    {
        if (mounted)
            Run(QStringLiteral("umount"), {where});
    }
};

// A copy of the program in a folder of its own, with its own configuration and runtime folders.
struct ProgramCopy {
    QTemporaryDir dir;
    QTemporaryDir home;
    QString program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    ProgramCopy()
    {
        program = dir.filePath(QStringLiteral("kelvator"));
        QFile::copy(QStringLiteral(KELVATOR_BINARY), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(home.path()).mkpath(QStringLiteral("config"));
        QDir(home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    QString Beside() const { return dir.filePath(QStringLiteral("kelvator.ini")); }
    QString InConfig() const { return home.filePath(QStringLiteral("config/kelvator/kelvator.ini")); }
    void Start(QProcess& p) const
    {
        p.setProcessEnvironment(environment);
        p.start(program, {});
    }
};

QString Octal(int mode)
{
    return QStringLiteral("0") + QString::number(mode, 8);
}

// The permission bits of a file or folder in octal, links followed.
QString Mode(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    return Octal(int(info.st_mode & 07777));
}

void WriteFileWithMode(const QString& path, const QByteArray& bytes, int mode)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
    f.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
}

void Stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(10000))
        p.kill();
}
} // namespace

class TstSettingsFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        // The usual umask, under which a file made without care is readable by every account.
        ::umask(022);
    }

    void aNewSettingsFileIsTheUsersAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        QVERIFY(f.SaveSettings());
        QCOMPARE(Mode(path), QStringLiteral("0600"));
        QVERIFY(f.SaveSettings());
        QCOMPARE(Mode(path), QStringLiteral("0600"));
    }

    void anExistingFileKeepsItsMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addRow("0600") << 0600;
        QTest::addRow("0640") << 0640;
        QTest::addRow("0644") << 0644;
        QTest::addRow("0660") << 0660;
    }
    void anExistingFileKeepsItsMode()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        WriteFileWithMode(path, "[Esemenyek]\r\nLabel_EsemenyMegnevezes1=Nyaralás\r\n", mode);
        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        QVERIFY(f.SaveSettings());
        QCOMPARE(Mode(path), Octal(mode));
        QVERIFY(
            IniFile::Load(path).Value(QStringLiteral("Idobelyeg"), QStringLiteral("IniFileUtolsoMentes")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("kelvator.ini")});
    }

    // A copy of a damaged file is as private as the file, whatever copy was there before.
    void theBackupTakesTheModeOfItsFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("oldBackupMode"); // 0: no backup yet
        QTest::addRow("0600") << 0600 << 0;
        QTest::addRow("0640") << 0640 << 0;
        QTest::addRow("0600 over a 0644 backup") << 0600 << 0644;
    }
    void theBackupTakesTheModeOfItsFile()
    {
        QFETCH(int, mode);
        QFETCH(int, oldBackupMode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        const QString backup = path + QStringLiteral(".bak");
        const QByteArray damaged("\x01\x02 nothing of the program's\n");
        WriteFileWithMode(path, damaged, mode);
        if (oldBackupMode != 0)
            WriteFileWithMode(backup, "an older copy\n", oldBackupMode);
        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        QCOMPARE(ReadAll(backup), damaged);
        QCOMPARE(Mode(backup), Octal(mode));
    }

    // Every folder the program makes for its settings is its user's alone; folders that were
    // there keep their bits, and the file carried over from beside the program is a new, private one.
    void aConfigurationFolderIsTheUsersAlone()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                      QFile::ExeOther));
        const QString beside = dir.filePath(QStringLiteral("kelvator.ini"));
        WriteFileWithMode(beside, "[Esemenyek]\r\nLabel_EsemenyMegnevezes1=Nyaralás\r\n", 0644);
        const QString config = dir.filePath(QStringLiteral("home/.config/kelvator"));
        const CarriedSettings carried = CarryOverSettings({config + QStringLiteral("/kelvator.ini"), beside});
        QCOMPARE(carried.path, config + QStringLiteral("/kelvator.ini"));
        QCOMPARE(Mode(dir.path()), QStringLiteral("0755"));
        for (const char* made : {"home", "home/.config", "home/.config/kelvator"})
            QCOMPARE(Mode(dir.filePath(QString::fromLatin1(made))), QStringLiteral("0700"));
        QCOMPARE(Mode(carried.path), QStringLiteral("0600"));
        QCOMPARE(ReadAll(carried.path), ReadAll(beside));
        QCOMPARE(Mode(beside), QStringLiteral("0644"));

        // Nothing to carry: the folder alone.
        const QString other = dir.filePath(QStringLiteral("other/kelvator"));
        QCOMPARE(CarryOverSettings({other + QStringLiteral("/kelvator.ini"), {}}).path,
                 other + QStringLiteral("/kelvator.ini"));
        QCOMPARE(Mode(dir.filePath(QStringLiteral("other"))), QStringLiteral("0700"));
        QCOMPARE(Mode(other), QStringLiteral("0700"));
    }

    // A settings file that is a link: the file it points to gets the bytes, the link stays.
    void aLinkedFileIsSavedThroughItsLink()
    {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("elsewhere.ini"));
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        WriteFileWithMode(real, "[Esemenyek]\r\n", 0640);
        QVERIFY(QFile::link(real, path));
        QVERIFY(WriteFileAtomically(path, "[Main]\r\n"));
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(ReadAll(real), QByteArray("[Main]\r\n"));
        QCOMPARE(Mode(real), QStringLiteral("0640"));
    }

    void aFullDiskKeepsTheOldFile()
    {
        QTemporaryDir dir;
        Mount disk(dir.path(), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                QStringLiteral("size=64k"), QStringLiteral("tmpfs")});
        if (!disk.mounted)
            QSKIP(
                qPrintable(QStringLiteral("a small tmpfs could not be mounted (needs root): ") + disk.error));
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        {
            testing::FakePlatform fake;
            TForm_Main f(fake.Make(path));
            QVERIFY(f.SaveSettings());
        }
        const QByteArray old = ReadAll(path);
        QVERIFY(!old.isEmpty());

        QFile filler(dir.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }

        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        testing::ChangeEvent(f, 1, [](EventSettings& e) { e.name = QStringLiteral("Nyaralás"); });
        f.Menu_BeallitasokClick();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        QCOMPARE(fake.errors, QStringList{QStringLiteral("Unable to write to ") + path});
        QCOMPARE(OuterPages(f)->currentWidget(), Control<QWidget>(f, "TabSheet_Beallitasok"));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("kelvator.ini")}));
        filler.remove();
    }

    void aReadOnlyFolderIsReadAndTheSettingsMove()
    {
        ProgramCopy copy;
        {
            QFile f(copy.Beside());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Esemenyek]\r\nLabel_EsemenyMegnevezes1=Kar\xE1\x63sony\r\n");
        }
        std::unique_ptr<Mount> readOnly;
        if (::geteuid() == 0) {
            // Root writes whatever the permission bits say: only a read-only mount stops it.
            readOnly = std::make_unique<Mount>(copy.dir.path(),
                                               QStringList{QStringLiteral("--bind"), copy.dir.path()});
            if (!readOnly->mounted)
                QSKIP(qPrintable(QStringLiteral("a read-only bind mount could not be made: ") +
                                 readOnly->error));
            QVERIFY(Run(QStringLiteral("mount"),
                        {QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), copy.dir.path()}));
        } else {
            QVERIFY(QFile::setPermissions(copy.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray beside = ReadAll(copy.Beside());

        SettingsPlaces places = RealSettingsPlaces();
        places.programPath = copy.program;
        QVERIFY(!places.folderWritable(copy.dir.path()));

        QProcess program;
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        // Asked to come to the front, the program answers once its window is there.
        const SingleInstance running(copy.InConfig(),
                                     RuntimeFolder{copy.home.filePath(QStringLiteral("runtime")), {}});
        QTRY_VERIFY_WITH_TIMEOUT(running.AskRunning() == SingleInstance::Answer::Shown, 20000);
        QVERIFY(QFile::exists(copy.InConfig()));
        Stop(program);
        QCOMPARE(program.exitCode(), 0);
        const IniFile saved = IniFile::Load(copy.InConfig());
        QCOMPARE(saved.Value(QStringLiteral("Esemenyek"), QStringLiteral("Label_EsemenyMegnevezes1")),
                 std::optional<QString>(QStringLiteral("Karácsony")));
        QVERIFY(saved.Value(QStringLiteral("Idobelyeg"), QStringLiteral("IniFileUtolsoMentes")));
        QCOMPARE(ReadAll(copy.Beside()), beside);
        if (::geteuid() != 0)
            QFile::setPermissions(copy.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void twoQuickStartsRunOnce()
    {
        ProgramCopy copy;
        for (int round = 0; round < 3; ++round) {
            QProcess first;
            QProcess second;
            copy.Start(first);
            QVERIFY(first.waitForStarted());
            QTest::qWait(50);
            copy.Start(second);
            QVERIFY(second.waitForStarted());
            // Under load the second may take the lock first; then the first hands over to it.
            QTRY_VERIFY_WITH_TIMEOUT(
                first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning, 30000);
            QProcess& quit = second.state() == QProcess::NotRunning ? second : first;
            QProcess& runs = &quit == &second ? first : second;
            QCOMPARE(quit.exitStatus(), QProcess::NormalExit);
            QCOMPARE(quit.exitCode(), 0);
            QTest::qWait(200);
            QCOMPARE(runs.state(), QProcess::Running);
            Stop(runs);
            QCOMPARE(runs.exitStatus(), QProcess::NormalExit);
        }
    }
};

QTEST_MAIN(TstSettingsFiles)
#include "tst_settings_files.moc"
