#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvator {

// Windows-1250, the Central European code page the settings file is kept in.
QString DecodeWindows1250(const QByteArray& bytes);
// Empty optional when some character has no place in the code page.
std::optional<QByteArray> EncodeWindows1250(const QString& text);

// An INI file edited line by line: a key is updated in place, a new key goes to the end
// of its section, a new section to the end of the file, and every other line stays as it was.
class IniFile {
public:
    static constexpr int kMaxValueLength = 2047;

    IniFile() = default;
    // Windows-1250 or UTF-8 text.
    static IniFile FromBytes(const QByteArray& bytes);
    // A missing or unreadable file reads as empty.
    static IniFile Load(const QString& path);

    // The value without blanks at its ends and one pair of enclosing quotes; names match
    // without regard to case. Empty optional for a missing section or key.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    void SetValue(const QString& section, const QString& key, const QString& value);

    // Windows-1250 where every character fits, UTF-8 otherwise, so nothing is lost.
    QByteArray ToBytes() const;
    // Replaces the file in one step (a temporary file beside it, then a rename).
    bool Save(const QString& path) const;

private:
    // Index of the section's header line, or -1.
    qsizetype FindSection(const QString& section) const;
    // Index just past the section's last key line (before any blank tail), given its header.
    qsizetype SectionEnd(qsizetype header) const;
    qsizetype FindKey(qsizetype header, const QString& key) const;

    QStringList lines_;
    QString newline_ = QStringLiteral("\r\n");
};

} // namespace kelvator
