// The settings file (every key the program keeps) and the settings page's checks.
#include "app/form_main.h"

#include "calendar/numbermask.h"
#include "clocks/big_clock_page.h"
#include "datecalc/datecalc_page.h"
#include "events/events_page.h"
#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include <functional>
#include <vector>

using namespace kelvator;

namespace {

// What kind of check a settings field gets; kept in the window's checkedFields, by field.
enum class FieldKind { None, Hour, Minute, Salary, BreakLength };
FieldKind KindOf(const TForm_Main* form, const QLineEdit* edit)
{
    const auto found = form->checkedFields.find(edit);
    return found == form->checkedFields.end() ? FieldKind::None : static_cast<FieldKind>(found->second.kind);
}

void RememberValid(TForm_Main* form, const QLineEdit* edit)
{
    TForm_Main::CheckedField& field = form->checkedFields[edit];
    field.lastValid = edit->text();
    field.hasLastValid = true;
}

bool TextPasses(FieldKind kind, const QString& text)
{
    int value = 0;
    if (!TryParseWholeNumber(text, value))
        return kind == FieldKind::None;
    switch (kind) {
    case FieldKind::Hour:
        return value >= 0 && value <= 23;
    case FieldKind::Minute:
        return value >= 0 && value <= 59;
    case FieldKind::BreakLength:
        return value >= 0 && value <= 99;
    case FieldKind::Salary:
    case FieldKind::None:
        return true;
    }
    return true;
}

} // namespace

// ---- The file -----------------------------------------------------------------------------

Settings TForm_Main::CollectSettings() const
{
    Settings s;
    yearGridPage_->CollectSettings(s);
    s.paydayRow = ListBox_FizetesnapDatuma->currentRow();
    s.workStartHour = CheckedFieldText(Edit_MIKOra);
    s.workStartMinute = CheckedFieldText(Edit_MIKPerc);
    s.workEndHour = CheckedFieldText(Edit_MIVOra);
    s.workEndMinute = CheckedFieldText(Edit_MIVPerc);
    s.weekendPayday = RadioGroup_HetvegiFizetes->itemIndex();
    s.smallClockShown = RadioGroup_MutatosOraKelvatorMegjelenites->itemIndex();
    s.workEndSound = RadioGroup_HangjelzesKelvatorVegen->itemIndex();
    s.twelveHourClock = CheckBox_12OrasKijelzes->isChecked();
    s.monthlySalary = CheckedFieldText(Edit_HaviFizetes);
    s.iconBesideClock = CheckBox_IconAzOraMelle->isChecked();
    s.startAsIcon = CheckBox_IconkentIndul->isChecked();
    s.workEndSoundFile = sFileUtvonalKelvatorVegeHang;
    s.payShown = SpeedButton_FizetesKijelzes->isChecked();
    s.mainTab = PageControl_Main->currentIndex();
    bigClockPage_->CollectSettings(s);
    eventsPage_->CollectSettings(s);
    dateCalcPage_->CollectSettings(s);
    stopwatchPage_->CollectSettings(s);
    s.hourlyNotice = CheckBox_BeallitasOrankentiHangjelzes->isChecked();
    for (size_t i = 0; i < 3; ++i) {
        BreakSettings& b = s.breaks[i];
        b.on = CheckBox_Szunet[i]->isChecked();
        b.hour = CheckedFieldText(Edit_SzunetOra[i]);
        b.minute = CheckedFieldText(Edit_SzunetPerc[i]);
        b.length = CheckedFieldText(Edit_SzunetHossz[i]);
    }
    return s;
}

// In the file's order, as the controls have always been filled.
void TForm_Main::ShowSettings(const Settings& s)
{
    yearGridPage_->ShowSettings(s);
    ListBox_FizetesnapDatuma->setCurrentRow(s.paydayRow);
    Edit_MIKOra->setText(s.workStartHour);
    Edit_MIKPerc->setText(s.workStartMinute);
    Edit_MIVOra->setText(s.workEndHour);
    Edit_MIVPerc->setText(s.workEndMinute);
    RadioGroup_HetvegiFizetes->setItemIndex(s.weekendPayday);
    RadioGroup_MutatosOraKelvatorMegjelenites->setItemIndex(s.smallClockShown);
    RadioGroup_HangjelzesKelvatorVegen->setItemIndex(s.workEndSound);
    CheckBox_12OrasKijelzes->setChecked(s.twelveHourClock);
    Edit_HaviFizetes->setText(s.monthlySalary);
    CheckBox_IconAzOraMelle->setChecked(s.iconBesideClock);
    CheckBox_IconkentIndul->setChecked(s.startAsIcon);
    sFileUtvonalKelvatorVegeHang = s.workEndSoundFile;
    SpeedButton_FizetesKijelzes->setChecked(s.payShown);
    {
        const QSignalBlocker quiet(PageControl_Main);
        PageControl_Main->setCurrentIndex(s.mainTab);
    }
    bigClockPage_->ShowSettings(s);
    eventsPage_->ShowSettings(s);
    dateCalcPage_->ShowSettings(s);
    stopwatchPage_->ShowSettings(s);
    CheckBox_BeallitasOrankentiHangjelzes->setChecked(s.hourlyNotice);
    for (size_t i = 0; i < 3; ++i) {
        CheckBox_Szunet[i]->setChecked(s.breaks[i].on);
        Edit_SzunetOra[i]->setText(s.breaks[i].hour);
        Edit_SzunetPerc[i]->setText(s.breaks[i].minute);
        Edit_SzunetHossz[i]->setText(s.breaks[i].length);
    }
}

namespace {
QString RefusalReason(FileStatus status)
{
    switch (status) {
    case FileStatus::NotRegular:
        return QStringLiteral("nem közönséges fájl");
    case FileStatus::TooLarge:
        return QStringLiteral("túl nagy");
    case FileStatus::Unreadable:
    case FileStatus::Missing:
    case FileStatus::Ok:
        break;
    }
    return QStringLiteral("nem olvasható");
}

} // namespace

void TForm_Main::LoadSettings()
{
    const QString& path = platform_.settingsPath;
    const FileContents file = ReadSettingsFile(path);
    settingsFileRefusedFlag = file.status != FileStatus::Ok && file.status != FileStatus::Missing;
    const IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    if (settingsFileRefusedFlag) {
        ShowError(QStringLiteral("A beállítások fájlja %1, ezért a program az alapbeállításokkal indul, "
                                 "és ezt a fájlt nem írja felül:\r\n%2")
                      .arg(RefusalReason(file.status), path));
    } else if (ini.HasContent() && !HoldsSettings(ini)) {
        // Everything starts from its default: keep a copy of the file as it was before a save adds to it,
        // as private as the file itself.
        const QString backup = path + QStringLiteral(".bak");
        QString text =
            QStringLiteral("A beállítások fájlja sérült, ezért a program az alapbeállításokkal indul:\r\n") +
            path;
        if (WriteFileAtomically(backup, file.bytes, path))
            text += QStringLiteral("\r\nAz eredeti fájl másolata: ") + backup;
        ShowError(text);
    }
    Settings settings = CollectSettings();
    ReadSettings(ini, ToDateTime(platform_.now()), settings);
    ShowSettings(settings);
    settingsModel_.Set(CollectSettings());
    loadNotice = calendarModel_.Read(ini);
    FixLoadedSettings();
    startInTrayFlag = CheckBox_IconkentIndul->isChecked();
    settingsLoadedFlag = true;
}

void TForm_Main::FixLoadedSettings()
{
    // Hand-edited values the work-time displays cannot use fall back to their defaults.
    const struct {
        QLineEdit* edit;
        const char* fallback;
    } fields[] = {{Edit_MIKOra, "07"},        {Edit_MIKPerc, "00"},        {Edit_MIVOra, "16"},
                  {Edit_MIVPerc, "00"},       {Edit_HaviFizetes, "0"},     {Edit_SzunetOra[0], "09"},
                  {Edit_SzunetPerc[0], "30"}, {Edit_SzunetHossz[0], "30"}, {Edit_SzunetOra[1], "13"},
                  {Edit_SzunetPerc[1], "30"}, {Edit_SzunetHossz[1], "30"}, {Edit_SzunetOra[2], "11"},
                  {Edit_SzunetPerc[2], "00"}, {Edit_SzunetHossz[2], "60"}};
    for (const auto& field : fields) {
        if (!TextPasses(KindOf(this, field.edit), field.edit->text()))
            field.edit->setText(QString::fromLatin1(field.fallback));
    }
    const int start =
        ParseWholeNumber(Edit_MIKOra->text()) * 3600 + ParseWholeNumber(Edit_MIKPerc->text()) * 60;
    const int end =
        ParseWholeNumber(Edit_MIVOra->text()) * 3600 + ParseWholeNumber(Edit_MIVPerc->text()) * 60;
    if (end <= start) {
        Edit_MIKOra->setText(QStringLiteral("07"));
        Edit_MIKPerc->setText(QStringLiteral("00"));
        Edit_MIVOra->setText(QStringLiteral("16"));
        Edit_MIVPerc->setText(QStringLiteral("00"));
    }
    for (const auto& field : fields)
        RememberValid(this, field.edit);
}

bool TForm_Main::SaveSettings()
{
    const FileContents file = ReadSettingsFile(platform_.settingsPath);
    if (file.status != FileStatus::Ok && file.status != FileStatus::Missing) {
        // A file that could not be read is never written over; the user heard so at the start.
        if (settingsFileRefusedFlag)
            return true;
        ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
        return false;
    }
    IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    const Settings settings = CollectSettings();
    WriteSettings(settings, ini);
    settingsModel_.Set(settings);
    ini.SetValue(QStringLiteral("Idobelyeg"), QStringLiteral("IniFileUtolsoMentes"),
                 DateTimeText(ToDateTime(platform_.now())));
    calendarModel_.Write(ini);
    if (ini.Save(platform_.settingsPath))
        return true;
    ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
    return false;
}

void TForm_Main::ShowError(const QString& text)
{
    if (platform_.errorBox)
        platform_.errorBox(this, text);
}

// ---- The page's checks --------------------------------------------------------------------

QString TForm_Main::CheckedFieldText(const QLineEdit* edit) const
{
    if (TextPasses(KindOf(this, edit), edit->text()))
        return edit->text();
    const auto found = checkedFields.find(edit);
    if (found == checkedFields.end() || !found->second.hasLastValid)
        return edit->text();
    return found->second.lastValid;
}

void TForm_Main::SetUpFieldChecks()
{
    auto mark = [this](QLineEdit* edit, FieldKind kind) {
        checkedFields[edit].kind = static_cast<int>(kind);
    };
    for (QLineEdit* e : {Edit_MIKOra, Edit_MIVOra, Edit_SzunetOra[0], Edit_SzunetOra[1], Edit_SzunetOra[2]})
        mark(e, FieldKind::Hour);
    for (QLineEdit* e :
         {Edit_MIKPerc, Edit_MIVPerc, Edit_SzunetPerc[0], Edit_SzunetPerc[1], Edit_SzunetPerc[2]})
        mark(e, FieldKind::Minute);
    mark(Edit_HaviFizetes, FieldKind::Salary);
    for (QLineEdit* e : Edit_SzunetHossz)
        mark(e, FieldKind::BreakLength);
}

// A failed check: the message, an empty field and the focus back on it.
bool TForm_Main::RejectField(QLineEdit* edit, const QString& message)
{
    ShowError(message);
    edit->clear();
    edit->setFocus();
    return false;
}

bool TForm_Main::ValidateHourEdit(QLineEdit* edit)
{
    return TextPasses(FieldKind::Hour, edit->text()) ||
           RejectField(edit, QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték."));
}

bool TForm_Main::ValidateMinuteEdit(QLineEdit* edit)
{
    return TextPasses(FieldKind::Minute, edit->text()) ||
           RejectField(edit, QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték."));
}

bool TForm_Main::Edit_HaviFizetesExit()
{
    return TextPasses(FieldKind::Salary, Edit_HaviFizetes->text()) ||
           RejectField(Edit_HaviFizetes, QStringLiteral("A havi fizetés hibás."));
}

bool TForm_Main::CheckFieldOnLeave(QLineEdit* edit)
{
    // The box itself takes the focus away again: one check at a time.
    if (checkingField_)
        return true;
    checkingField_ = true;
    bool ok = true;
    switch (KindOf(this, edit)) {
    case FieldKind::Hour:
        ok = ValidateHourEdit(edit);
        break;
    case FieldKind::Minute:
        ok = ValidateMinuteEdit(edit);
        break;
    case FieldKind::Salary:
        ok = Edit_HaviFizetesExit();
        break;
    case FieldKind::BreakLength:
    case FieldKind::None:
        break;
    }
    if (ok && TextPasses(KindOf(this, edit), edit->text()))
        RememberValid(this, edit);
    checkingField_ = false;
    return ok;
}

void TForm_Main::Button_BeallitasokOKClick()
{
    int start = 0;
    int end = 0;
    try {
        start = ParseWholeNumber(Edit_MIKOra->text()) * 3600;
        start += ParseWholeNumber(Edit_MIKPerc->text()) * 60;
        end = ParseWholeNumber(Edit_MIVOra->text()) * 3600;
        end += ParseWholeNumber(Edit_MIVPerc->text()) * 60;
    } catch (const FieldError& e) {
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    if (start >= end) {
        ShowError(QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
        return;
    }
    if (RadioGroup_HetvegiFizetes->itemIndex() < 0) {
        ShowError(QStringLiteral("Be kell jelölni, mi történik,\r\nha a fizetésnap hétvégére esik."));
        RadioGroup_HetvegiFizetes->setFocus();
        return;
    }
    // What passed the page's checks is what a later save falls back to.
    for (QLineEdit* edit : TabSheet_Beallitasok->findChildren<QLineEdit*>()) {
        if (checkedFields.count(edit) > 0 && TextPasses(KindOf(this, edit), edit->text()))
            RememberValid(this, edit);
    }
    if (!SaveSettings())
        return;
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
}

void TForm_Main::MarkTimeField(QLineEdit* edit, bool hour)
{
    checkedFields[edit].kind = static_cast<int>(hour ? FieldKind::Hour : FieldKind::Minute);
}
