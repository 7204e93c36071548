#include "appfixture.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "songs/stylewindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace quillon;

namespace {

struct Fixture : test::AppFixture {
    QByteArray stnum() const { return read(data.stnumDat()); }
    QByteArray styles() const { return read(data.stylesDat()); }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const QByteArray& number, const QByteArray& list) const
    {
        if (!number.isNull())
            writeFile(data.stnumDat(), number);
        if (!list.isNull())
            writeFile(data.stylesDat(), list);
    }
    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
};

QByteArray quotedLines(const QStringList& entries)
{
    QByteArray out;
    for (const QString& e : entries)
        out += '"' + e.toUtf8() + "\"\r\n";
    return out;
}

QStringList numbered(int n)
{
    QStringList entries;
    for (int i = 1; i <= n; ++i)
        entries << QString("Style %1*").arg(i);
    return entries;
}

QPushButton* button(const StyleWindow& w, const char* name)
{
    return w.findChild<QPushButton*>(name);
}
QLineEdit* nameBox(const StyleWindow& w)
{
    return w.findChild<QLineEdit*>("TB_Stylename");
}
QPlainTextEdit* descriptionBox(const StyleWindow& w)
{
    return w.findChild<QPlainTextEdit*>("TB_Styledescr");
}
QListWidget* list(const StyleWindow& w)
{
    return w.findChild<QListWidget*>("lstStyles");
}
QString shownNumber(const StyleWindow& w)
{
    return w.findChild<QLabel*>("lblNumberOfStyles")->text();
}

// Presses a button the way a user can: only when it is shown and enabled.
bool press(StyleWindow& w, const char* name)
{
    QPushButton* b = button(w, name);
    if (!b || !b->isVisible() || !b->isEnabled())
        return false;
    QTest::mouseClick(b, Qt::LeftButton);
    return true;
}

void replaceText(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class TestStyleWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withoutFilesOnlyNewLeadsOn()
    {
        Fixture f;
        QFile::remove(f.data.stnumDat());
        QFile::remove(f.data.stylesDat());
        StyleWindow w(f.state);
        w.show();
        QCOMPARE(w.objectName(), QString("frmStyle"));
        QCOMPARE(w.windowTitle(), QString("Songstyles"));
        QCOMPARE(f.stnum(), QByteArray(" 0 \r\n"));
        QCOMPARE(f.styles(), QByteArray());
        QCOMPARE(shownNumber(w), QString("0"));
        QVERIFY(button(w, "cmdNew")->isVisible() && button(w, "cmdNew")->isEnabled());
        QVERIFY(!button(w, "cmdDelete")->isEnabled());
        QVERIFY(!button(w, "cmdEdit")->isEnabled());
        QVERIFY(nameBox(w)->isReadOnly());
        QVERIFY(descriptionBox(w)->isReadOnly());
        QVERIFY(f.prompter.asked().isEmpty());
    }

    void buttonsStandInTheirStacks()
    {
        Fixture f;
        StyleWindow w(f.state);
        w.show();
        const QRect upper(608, 73, 80, 26);
        for (const char* name : {"cmdNew", "cmdOKNew", "cmdOKEdit"})
            QCOMPARE(button(w, name)->geometry(), upper);
        for (const char* name : {"cmdDelete", "cmdCancel"})
            QCOMPARE(button(w, name)->geometry(), QRect(608, 105, 80, 26));
        QCOMPARE(button(w, "cmdEdit")->geometry(), QRect(608, 137, 80, 26));
        QCOMPARE(button(w, "cmdClose")->geometry(), QRect(608, 25, 80, 26));
        QCOMPARE(button(w, "cmdNew")->toolTip(), QString("Enter a new style"));
        QCOMPARE(button(w, "cmdOKNew")->text(), QString("&OK"));
        QCOMPARE(button(w, "cmdOKEdit")->text(), QString("O&K edit"));
        // One button of each stack shows at a time.
        QVERIFY(!button(w, "cmdOKNew")->isVisible());
        QVERIFY(!button(w, "cmdOKEdit")->isVisible());
        QVERIFY(!button(w, "cmdCancel")->isVisible());
    }

    void newBalladIsStoredByteForByte()
    {
        Fixture f;
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QVERIFY(button(w, "cmdOKNew")->isVisible());
        QVERIFY(button(w, "cmdCancel")->isVisible());
        QVERIFY(!button(w, "cmdNew")->isVisible());
        QVERIFY(!button(w, "cmdClose")->isEnabled());
        QVERIFY(!list(w)->isEnabled());
        QVERIFY(!nameBox(w)->isReadOnly());
        QTest::keyClicks(nameBox(w), "Ballad");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.styles(), QByteArray("\"Ballad*\"\r\n"));
        QCOMPARE(f.stnum(), QByteArray(" 1 \r\n"));
        QCOMPARE(shownNumber(w), QString("1"));
        QVERIFY(button(w, "cmdNew")->isVisible());
        QVERIFY(button(w, "cmdDelete")->isVisible() && button(w, "cmdDelete")->isEnabled());
        QVERIFY(button(w, "cmdEdit")->isEnabled());
        QVERIFY(button(w, "cmdClose")->isEnabled());
        QVERIFY(nameBox(w)->isReadOnly());
        QCOMPARE(list(w)->currentRow(), 0);
        QCOMPARE(nameBox(w)->text(), QString("Ballad"));
    }

    void newStylesGoToTheEndTrimmed()
    {
        Fixture f;
        f.write(" 1 \r\n", "\"Pop*\"\r\n");
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "  Rock  ");
        QTest::keyClicks(descriptionBox(w), " loud guitars ");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.styles(), QByteArray("\"Pop*\"\r\n\"Rock*loud guitars\"\r\n"));
        QCOMPARE(f.stnum(), QByteArray(" 2 \r\n"));
    }

    void boxesAdmitOnlyTheirCharacters()
    {
        Fixture f;
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "Hip*Hop! Ä,ß");
        QCOMPARE(nameBox(w)->text(), QString("HipHop Äß"));
        QTest::keyClicks(descriptionBox(w), "Fast & loud");
        QTest::keyClick(descriptionBox(w), Qt::Key_Return);
        QTest::keyClicks(descriptionBox(w), "beats (90)");
        QCOMPARE(descriptionBox(w)->toPlainText(), QString("Fast  loudbeats (90)"));
        replaceText(nameBox(w), QString(60, 'a'));
        QCOMPARE(nameBox(w)->text().size(), 50);
    }

    void aBlankNameIsStoredEmpty()
    {
        Fixture f;
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "   ");
        QTest::keyClicks(descriptionBox(w), "nameless");
        QVERIFY(press(w, "cmdOKNew"));
        QVERIFY(f.prompter.asked().isEmpty());
        QCOMPARE(f.styles(), QByteArray("\"*nameless\"\r\n"));
    }

    void anEmptyNameIsRefusedInNewMode()
    {
        Fixture f;
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(descriptionBox(w), "no name");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().text,
                 QString("Please enter a stylename\r or click -Cancel- to exit !"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::None);
        QVERIFY(button(w, "cmdOKNew")->isVisible());
        QVERIFY(!nameBox(w)->isReadOnly());
        QCOMPARE(f.styles(), QByteArray());
        // Still in new-style mode: a name now completes the entry.
        QTest::keyClicks(nameBox(w), "Late");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.styles(), QByteArray("\"Late*no name\"\r\n"));
    }

    void editReplacesTheSelectedEntry()
    {
        Fixture f;
        f.write(" 2 \r\n", "\"Pop*old\"\r\n\"Rock*\"\r\n");
        StyleWindow w(f.state);
        w.show();
        QCOMPARE(nameBox(w)->text(), QString("Pop"));
        list(w)->setCurrentRow(1);
        QCOMPARE(nameBox(w)->text(), QString("Rock"));
        QVERIFY(press(w, "cmdEdit"));
        QVERIFY(button(w, "cmdOKEdit")->isVisible());
        QVERIFY(button(w, "cmdCancel")->isVisible());
        QVERIFY(!list(w)->isEnabled());
        QVERIFY(!button(w, "cmdClose")->isEnabled());
        replaceText(nameBox(w), "");
        QVERIFY(press(w, "cmdOKEdit"));
        QCOMPARE(f.prompter.askedTexts(),
                 QStringList{"Please enter a stylename\r or click -CANCEL- to exit !"});
        QVERIFY(button(w, "cmdOKEdit")->isVisible());
        QTest::keyClicks(nameBox(w), "Hard Rock");
        QTest::keyClicks(descriptionBox(w), "loud");
        QVERIFY(press(w, "cmdOKEdit"));
        QCOMPARE(f.styles(), QByteArray("\"Pop*old\"\r\n\"Hard Rock*loud\"\r\n"));
        QCOMPARE(f.stnum(), QByteArray(" 2 \r\n"));
        QVERIFY(button(w, "cmdNew")->isVisible());
        QVERIFY(button(w, "cmdEdit")->isEnabled());
        QVERIFY(nameBox(w)->isReadOnly());
        QCOMPARE(list(w)->currentRow(), 0);
    }

    void doubleClickStartsAnEdit()
    {
        Fixture f;
        f.write(" 1 \r\n", "\"Pop*\"\r\n");
        StyleWindow w(f.state);
        w.show();
        QListWidget* l = list(w);
        const QRect r = l->visualItemRect(l->item(0));
        // A double click arrives after the press of its first click.
        QTest::mousePress(l->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseRelease(l->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(button(w, "cmdOKEdit")->isVisible());
        QVERIFY(!nameBox(w)->isReadOnly());
    }

    void deleteAsksAndKeepsTheCountInStep()
    {
        Fixture f;
        f.write(" 3 \r\n", quotedLines({"A*first", "B*second", "C*third"}));
        StyleWindow w(f.state);
        w.show();
        list(w)->setCurrentRow(1);
        f.prompter.answer(QMessageBox::No);
        QVERIFY(press(w, "cmdDelete"));
        QCOMPARE(f.styles(), quotedLines({"A*first", "B*second", "C*third"}));
        const ScriptedPrompter::Asked asked = f.prompter.asked().first();
        QCOMPARE(asked.text, QString("Deleting a style may effect the 'STYLE'-field \r"
                                     "of a song! A deleted style is no more \r"
                                     "available for aleady entered songs. \r\r"
                                     "Do you really want to delete style:\r'B' ?"));
        QCOMPARE(asked.title, QString("Delete style "));
        QCOMPARE(asked.icon, Prompter::Icon::Question);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        // A stray Enter must not delete.
        QCOMPARE(asked.defaultButton, QMessageBox::No);

        list(w)->setCurrentRow(1);
        f.prompter.answer(QMessageBox::Yes);
        QVERIFY(press(w, "cmdDelete"));
        QCOMPARE(f.styles(), quotedLines({"A*first", "C*third"}));
        QCOMPARE(f.stnum(), QByteArray(" 2 \r\n"));
        QCOMPARE(f.styles().count("\r\n"), 2);
        QCOMPARE(shownNumber(w), QString("2"));
        // The boxes show a style that still exists.
        QCOMPARE(nameBox(w)->text(), QString("A"));
    }

    void deletingTheLastStyleLeavesOnlyNew()
    {
        Fixture f;
        f.write(" 1 \r\n", "\"Solo*\"\r\n");
        StyleWindow w(f.state);
        w.show();
        f.prompter.answer(QMessageBox::Yes);
        QVERIFY(press(w, "cmdDelete"));
        QCOMPARE(f.styles(), QByteArray());
        QCOMPARE(f.stnum(), QByteArray(" 0 \r\n"));
        QVERIFY(!button(w, "cmdDelete")->isEnabled());
        QVERIFY(!button(w, "cmdEdit")->isEnabled());
        QVERIFY(button(w, "cmdNew")->isEnabled());
        QCOMPARE(nameBox(w)->text(), QString());
    }

    void theTwoHundredFiftyFirstStyleIsRefused()
    {
        Fixture f;
        f.write(" 249 \r\n", quotedLines(numbered(249)));
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "Number 250");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.stnum(), QByteArray(" 250 \r\n"));
        QCOMPARE(w.numberOfStyles(), 250);
        QVERIFY(f.prompter.asked().isEmpty());

        QVERIFY(press(w, "cmdNew"));
        QCOMPARE(f.prompter.askedTexts(), QStringList{"Sorry, only 250 styles possible"});
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(button(w, "cmdNew")->isVisible());
        QVERIFY(button(w, "cmdClose")->isEnabled());
        QVERIFY(list(w)->isEnabled());
        QCOMPARE(f.styles().count("\r\n"), 250);
    }

    void cancelLeavesNewModeWithoutWriting()
    {
        Fixture f;
        f.write(" 2 \r\n", quotedLines({"A*", "B*"}));
        StyleWindow w(f.state);
        w.show();
        list(w)->setCurrentRow(1);
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "Never");
        QVERIFY(press(w, "cmdCancel"));
        QVERIFY(button(w, "cmdNew")->isVisible());
        QVERIFY(button(w, "cmdDelete")->isVisible());
        QVERIFY(button(w, "cmdEdit")->isEnabled());
        QVERIFY(button(w, "cmdClose")->isEnabled());
        QVERIFY(list(w)->isEnabled());
        QCOMPARE(list(w)->currentRow(), 0);
        QCOMPARE(nameBox(w)->text(), QString("A"));
        QCOMPARE(f.styles(), quotedLines({"A*", "B*"}));
    }

    void newAsksBeforeClearingTypedText_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("yes") << QMessageBox::Yes;
        QTest::newRow("no") << QMessageBox::No;
    }
    void newAsksBeforeClearingTypedText()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        Fixture f;
        f.write(" 2 \r\n", quotedLines({"A*x", "B*y"}));
        StyleWindow w(f.state);
        w.show();
        // Boxes showing the selected entry are nothing to ask about.
        QVERIFY(press(w, "cmdNew"));
        QVERIFY(press(w, "cmdCancel"));
        QVERIFY(press(w, "cmdNew"));
        QVERIFY(f.prompter.asked().isEmpty());
        QVERIFY(press(w, "cmdCancel"));
        // After Cancel the boxes stay open; what is typed there is asked for.
        replaceText(nameBox(w), "Typed");
        descriptionBox(w)->setPlainText("by hand");
        f.prompter.answer(answer);
        QVERIFY(press(w, "cmdNew"));
        QCOMPARE(f.prompter.asked().size(), 1);
        const ScriptedPrompter::Asked asked = f.prompter.asked().first();
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(asked.defaultButton, QMessageBox::No);
        QCOMPARE(asked.icon, Prompter::Icon::Question);
        const bool cleared = answer == QMessageBox::Yes;
        QCOMPARE(button(w, "cmdOKNew")->isVisible(), cleared);
        QCOMPARE(nameBox(w)->text(), cleared ? QString() : QString("Typed"));
        QCOMPARE(descriptionBox(w)->toPlainText(), cleared ? QString() : QString("by hand"));
        QCOMPARE(f.styles(), quotedLines({"A*x", "B*y"}));
    }

    void closeWritesBothFiles()
    {
        Fixture f;
        f.write(" 2 \r\n", quotedLines({"A*x", "B*y"}));
        StyleWindow w(f.state);
        w.show();
        QFile::remove(f.data.stylesDat());
        QFile::remove(f.data.stnumDat());
        QVERIFY(press(w, "cmdClose"));
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(f.styles(), quotedLines({"A*x", "B*y"}));
        QCOMPARE(f.stnum(), QByteArray(" 2 \r\n"));
    }

    void aCountThatLiesHidesNoStyle_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::newRow("zero") << QByteArray(" 0 \r\n");
        QTest::newRow("too small") << QByteArray(" 1 \r\n");
        QTest::newRow("too large") << QByteArray(" 40 \r\n");
        QTest::newRow("garbage") << QByteArray("x\x01y");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("missing") << QByteArray();
    }
    void aCountThatLiesHidesNoStyle()
    {
        QFETCH(QByteArray, number);
        Fixture f;
        QFile::remove(f.data.stnumDat());
        f.write(number, quotedLines({"A*", "B*", "C*"}));
        StyleWindow w(f.state);
        w.show();
        QCOMPARE(shownNumber(w), QString("3"));
        QCOMPARE(w.entries(), QStringList({"A*", "B*", "C*"}));
        QVERIFY(button(w, "cmdDelete")->isEnabled());
        // The count is put right at once, for the song details' drop-down.
        QCOMPARE(f.stnum(), QByteArray(" 3 \r\n"));
        QCOMPARE(StyleList(f.data).readForSongDetails(), QStringList({"A*", "B*", "C*"}));
        QVERIFY(press(w, "cmdClose"));
        QCOMPARE(f.styles(), quotedLines({"A*", "B*", "C*"}));
        QCOMPARE(f.stnum(), QByteArray(" 3 \r\n"));
    }

    void anUnterminatedQuoteIsRepairedNotLost()
    {
        Fixture f;
        f.write(" 2 \r\n", "\"Rock*fast\r\n\"Pop*\"\r\n");
        StyleWindow w(f.state);
        w.show();
        QCOMPARE(w.entries(), QStringList({"Rock*fast", "Pop*"}));
        QVERIFY(press(w, "cmdClose"));
        QCOMPARE(f.styles(), QByteArray("\"Rock*fast\"\r\n\"Pop*\"\r\n"));
    }

    void tenThousandLinesAreKept()
    {
        Fixture f;
        const QByteArray content = quotedLines(numbered(10000));
        f.write(" 10000 \r\n", content);
        StyleWindow w(f.state);
        w.show();
        QCOMPARE(shownNumber(w), QString("10000"));
        QVERIFY(press(w, "cmdNew"));
        QCOMPARE(f.prompter.askedTexts(), QStringList{"Sorry, only 250 styles possible"});
        QVERIFY(press(w, "cmdClose"));
        QCOMPARE(f.styles(), content);
        QCOMPARE(f.stnum(), QByteArray(" 10000 \r\n"));
    }

    void aFailedWriteKeepsTheListOnScreen()
    {
        Fixture f;
        QFile::remove(f.data.stylesDat());
        f.write(" 0 \r\n", QByteArray());
        QFile::remove(f.data.stylesDat());
        // A folder in the way: styles.dat cannot be written.
        QVERIFY(QDir().mkpath(f.data.stylesDat()));
        StyleWindow w(f.state);
        w.show();
        QVERIFY(press(w, "cmdNew"));
        QTest::keyClicks(nameBox(w), "Funk");
        QVERIFY(press(w, "cmdOKNew"));
        QCOMPARE(f.prompter.asked().size(), 1);
        QVERIFY(f.prompter.asked().first().text.contains("styles.dat"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(w.entries(), QStringList{"Funk*"});
        QCOMPARE(shownNumber(w), QString("1"));
        // Close cannot save either: it says so and the window stays.
        QVERIFY(press(w, "cmdClose"));
        QCOMPARE(f.prompter.asked().size(), 2);
        QVERIFY(w.isVisible());
        QVERIFY(w.result() != QDialog::Accepted);
    }
};

QTEST_MAIN(TestStyleWindow)
#include "tst_stylewindow.moc"
