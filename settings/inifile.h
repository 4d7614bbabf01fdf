#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace kelvator {

// Windows-1250, the Central European code page the settings file is kept in.
QString DecodeWindows1250(const QByteArray& bytes);
// Empty optional when some character has no place in the code page.
std::optional<QByteArray> EncodeWindows1250(const QString& text);

// One line of a byte-encoded file: UTF-8 when it is valid UTF-8 with some multi-byte
// sequence, Windows-1250 otherwise. Outside a file marked as UTF-8, a line whose
// multi-byte characters all lie beyond the Latin letters (Greek, Cyrillic, Hebrew, ...)
// is taken for Windows-1250 capitals followed by punctuation ("Ó–" forms "Ӗ").
QString DecodeSettingsLine(const QByteArray& line, bool utf8File);

// The largest settings file read; ten thousand stopwatch lines take about 300 KiB.
constexpr qint64 kMaxSettingsFileSize = qint64{4} * 1024 * 1024;

enum class FileStatus {
    Ok,
    Missing,
    NotRegular, // a folder, a FIFO, a device: reading could block or never end
    TooLarge,
    Unreadable,
};

struct FileContents {
    FileStatus status = FileStatus::Missing;
    QByteArray bytes;
};

// Reads a regular file of at most maxSize bytes without ever blocking on it.
FileContents ReadSettingsFile(const QString& path, qint64 maxSize = kMaxSettingsFileSize);
// Permission bits of a settings file the program creates: its owner's alone (the salary is in it).
constexpr unsigned kPrivateFileMode = 0600;

// Replaces the file in one step (a temporary file beside it, then a rename). Every write is
// checked before the rename, so a full disk leaves the old file as it was. The file keeps the
// permission bits of the file it replaces, or takes those of permissionsOf where that is given
// (a copy as open as its original); a new file is kPrivateFileMode. The temporary file is never
// open to anyone else.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, const QString& permissionsOf = {});

// An INI file edited line by line: a key is updated in place, a new key goes to the end
// of its section, a new section to the end of the file, and every other line stays as it was,
// byte for byte. Reading, lookups and writing are linear in the size of the file.
class IniFile {
public:
    static constexpr int kMaxValueLength = 2047;
    // For lists that grow with the years: the value is read whole, the file's size its only limit.
    static constexpr int kWholeValue = -1;

    IniFile() = default;
    // Windows-1250 or UTF-8 line by line, or UTF-16 after its byte-order mark; line ends
    // CR LF, LF or CR.
    static IniFile FromBytes(const QByteArray& bytes);
    // A missing or unusable file reads as empty.
    static IniFile Load(const QString& path);

    // The value without blanks at its ends and one pair of enclosing quotes, read up to
    // maxLength characters (kWholeValue: all of it); names match without regard to case.
    // Empty optional for a missing section or key.
    std::optional<QString> Value(const QString& section, const QString& key,
                                 int maxLength = kMaxValueLength) const;
    void SetValue(const QString& section, const QString& key, const QString& value);

    bool HasSection(const QString& section) const;
    // Lines of the section below its header; 0 for a missing section.
    qsizetype SectionSize(const QString& section) const;
    // Some line holds more than blanks or a comment.
    bool HasContent() const;

    // Lines the program did not change keep their bytes. Changed lines are Windows-1250
    // where every character fits; otherwise the file becomes UTF-8 with a byte-order mark,
    // so nothing is lost. A UTF-16 file stays UTF-16.
    QByteArray ToBytes() const;
    bool Save(const QString& path) const;

private:
    struct Line {
        QString text;
        QByteArray raw; // the line's bytes as read; empty for UTF-16 and for changed lines
        QString eol;    // "\r\n", "\n", "\r", or empty for a last line without one
        bool changed = false;
    };
    // A section: its header line and its lines, the blank lines at its end kept apart so that
    // a new key goes before them without moving anything.
    struct Block {
        std::optional<Line> header; // none for the lines before the first section
        std::vector<Line> lines;
        std::vector<Line> blankTail;
        QString indexedName; // folded section name for the first section of its name
    };
    enum class Encoding { Bytes, Utf16LE, Utf16BE };

    void AddLine(Line line);
    const Block* FindBlock(const QString& section) const;
    // One index for the whole file: a line never holds a line break, so none can be mistaken.
    static QString KeyIndex(const QString& foldedSection, const QString& foldedKey)
    {
        return foldedSection + u'\n' + foldedKey;
    }

    std::vector<Block> blocks_;
    QHash<QString, qsizetype> sections_; // folded section name to its first block
    QHash<QString, qsizetype> keys_;     // folded section and key name to the key's first line
    Encoding encoding_ = Encoding::Bytes;
    bool utf8Bom_ = false;
    QString newline_ = QStringLiteral("\r\n");
};

} // namespace kelvator
