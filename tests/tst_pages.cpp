#include "about/about_page.h"
#include "exit/exit_page.h"
#include "notice/notice_page.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTime>

using kelvator::AboutPage;
using kelvator::ExitPage;
using kelvator::NoticePage;

// The small pages alone, without a window: what they show and what they ask for.
class TstPages : public QObject {
    Q_OBJECT

private:
    template <typename T> static T* Child(QWidget& page, const char* name)
    {
        auto* child = page.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no %s on the page", name);
        return child;
    }

private Q_SLOTS:
    // The about picture lives in the program's resources, which a static library links in
    // only when asked.
    void initTestCase() { Q_INIT_RESOURCE(kelvator); }

    void noticeShowsTheTime_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::addRow("morning, one digit") << QTime(9, 0, 1) << "9:00";
        QTest::addRow("afternoon stays 24-hour") << QTime(14, 1, 0) << "14:01";
        QTest::addRow("midnight") << QTime(0, 7, 59) << "0:07";
        QTest::addRow("last minute") << QTime(23, 59, 59) << "23:59";
    }
    void noticeShowsTheTime()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        NoticePage page;
        page.ShowTime(time);
        QCOMPARE(Child<QLabel>(page, "Label_FigyelemSzoveg")->text(), text);
    }

    void noticePulsesBetweenTheTwoSizes()
    {
        NoticePage page;
        auto* text = Child<QLabel>(page, "Label_FigyelemSzoveg");
        QCOMPARE(text->font().pointSize(), 72);
        QList<int> sizes;
        for (int beat = 0; beat < 4; ++beat) {
            page.Pulse();
            sizes << text->font().pointSize();
        }
        QCOMPARE(sizes, (QList<int>{48, 72, 48, 72}));
        // Showing the time leaves the pulse where it is.
        page.Pulse();
        page.ShowTime(QTime(10, 0));
        QCOMPARE(text->font().pointSize(), 48);
        QCOMPARE(Child<QLabel>(page, "Label14")->text(), QStringLiteral("Figyelem!"));
    }

    void noticeOkAcknowledges()
    {
        NoticePage page;
        QSignalSpy acknowledged(&page, &NoticePage::acknowledged);
        Child<QPushButton>(page, "Button_FigyelemAllapotNyugtazasa")->click();
        QCOMPARE(acknowledged.count(), 1);
    }

    void exitButtonsAskForTheirOwnThing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("tray");
        QTest::addColumn<int>("exits");
        QTest::addColumn<int>("backs");
        QTest::addRow("to the tray") << "Button_Talcara"
                                     << "Programot a tálcára" << 1 << 0 << 0;
        QTest::addRow("exit") << "Button_Kilepes"
                              << "Kilépés" << 0 << 1 << 0;
        QTest::addRow("back") << "Button_Vissza"
                              << "Vissza a programba" << 0 << 0 << 1;
    }
    void exitButtonsAskForTheirOwnThing()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(int, tray);
        QFETCH(int, exits);
        QFETCH(int, backs);
        ExitPage page;
        QSignalSpy traySpy(&page, &ExitPage::sendToTray);
        QSignalSpy exitSpy(&page, &ExitPage::exitProgram);
        QSignalSpy backSpy(&page, &ExitPage::back);
        auto* b = Child<QPushButton>(page, button.toLatin1().constData());
        QCOMPARE(b->text(), caption);
        b->click();
        QCOMPARE(traySpy.count(), tray);
        QCOMPARE(exitSpy.count(), exits);
        QCOMPARE(backSpy.count(), backs);
    }

    void exitCancelGoesBack()
    {
        ExitPage page;
        QSignalSpy backSpy(&page, &ExitPage::back);
        QSignalSpy exitSpy(&page, &ExitPage::exitProgram);
        page.Cancel();
        QCOMPARE(backSpy.count(), 1);
        QCOMPARE(exitSpy.count(), 0);
    }

    void exitTabOrderAndFocus()
    {
        ExitPage page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.FocusDefaultButton();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button_Talcara"));
        QStringList order;
        for (int i = 0; i < 3; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{QStringLiteral("Button_Talcara"), QStringLiteral("Button_Kilepes"),
                                     QStringLiteral("Button_Vissza")}));
        // The text is read, not edited: Tab never stops there.
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button_Talcara"));
    }

    void aboutOkIsDoneAndThePictureWaitsToBeSeen()
    {
        AboutPage page;
        QSignalSpy done(&page, &AboutPage::done);
        auto* picture = Child<QLabel>(page, "Image_Nevjegy");
        QVERIFY(picture->pixmap().isNull());
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(picture->pixmap().size(), QSize(192, 152));
        page.FocusDefaultButton();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button_NevjegyOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(done.count(), 1);
    }
};

QTEST_MAIN(TstPages)
#include "tst_pages.moc"
