// The one character filter behind every text box with an allowed set: each
// of its options, on line edits and multi-line boxes, typed and pasted.

#include "common/characterfilter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;

namespace {
void paste(QLineEdit& e, const QString& text)
{
    QApplication::clipboard()->setText(text);
    e.paste();
}
void paste(QPlainTextEdit& e, const QString& text)
{
    QApplication::clipboard()->setText(text);
    e.paste();
}
} // namespace

class TestCharacterFilter final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aSetWrittenInMixedCaseAdmitsBothCases()
    {
        const QString set = "abcDEF ß";
        for (QChar c : QString("aAbBcCdDeEfF ß"))
            QVERIFY2(CharacterFilter::admits(set, c), qPrintable(QString(c)));
        QVERIFY(!CharacterFilter::admits(set, 'g'));
        QVERIFY(!CharacterFilter::admits(set, 'G'));
        QVERIFY(!CharacterFilter::admits(set, '\''));
    }

    void lineBreaksOnlyWhereTheBoxTakesThem()
    {
        using LB = CharacterFilter::LineBreaks;
        for (QChar c : {QChar('\n'), QChar('\r'), QChar(QChar::ParagraphSeparator)}) {
            QVERIFY(!CharacterFilter::admits("ab", c, LB::Refused));
            QVERIFY(CharacterFilter::admits("ab", c, LB::Kept));
            QVERIFY(CharacterFilter::admits({}, c, LB::Kept));
        }
        QVERIFY(!CharacterFilter::admits("ab", '\t', LB::Kept));
        QCOMPARE(CharacterFilter::filtered("ab", "a\n*\nb", "ab", 0, nullptr, 4, LB::Kept),
                 QString("a\n\nb"));
    }

    void aPasteKeepsTheAdmittedPartAndTheCursorFollowsIt()
    {
        QLineEdit e;
        new CharacterFilter(&e, "abc ", 0);
        e.setText("a c");
        e.setCursorPosition(2);
        paste(e, "b'*b");
        QCOMPARE(e.text(), QString("a bbc"));
        QCOMPARE(e.cursorPosition(), 4);
        QTest::keyClicks(&e, "x*a");
        QCOMPARE(e.text(), QString("a bbac"));
        QCOMPARE(e.cursorPosition(), 5);
    }

    void aRefusedKeyLeavesTheUndoHistoryWhole()
    {
        QLineEdit e;
        new CharacterFilter(&e, "ab", 0);
        QTest::keyClicks(&e, "ab!");
        QCOMPARE(e.text(), QString("ab"));
        QVERIFY(e.isUndoAvailable());
        QPlainTextEdit p;
        new CharacterFilter(&p, "ab", 0);
        QTest::keyClicks(&p, "ab!");
        QCOMPARE(p.toPlainText(), QString("ab"));
        QVERIFY(p.document()->isUndoAvailable());
        // A key typing several characters keeps the admitted ones.
        QTest::sendKeyEvent(QTest::Click, &e, Qt::Key_unknown, QString("b*a"), Qt::NoModifier);
        QCOMPARE(e.text(), QString("abba"));
        QTest::sendKeyEvent(QTest::Click, &e, Qt::Key_unknown, QString("**"), Qt::NoModifier);
        QCOMPARE(e.text(), QString("abba"));
    }

    void aPasteIsCutToTheLimitAfterFiltering()
    {
        QLineEdit e;
        new CharacterFilter(&e, "abc", 5);
        e.setText("ab");
        e.end(false);
        paste(e, "*c*c*c*c");
        QCOMPARE(e.text(), QString("abccc"));
        QCOMPARE(e.cursorPosition(), 5);
    }

    void everyCharacterWithoutASet()
    {
        QLineEdit e;
        new CharacterFilter(&e, QString(), 4);
        QTest::keyClicks(&e, "*'%&!!");
        QCOMPARE(e.text(), QString("*'%&"));
    }

    void theProgramsTextIsNeitherFilteredNorCut()
    {
        QLineEdit e;
        e.setMaxLength(5);
        auto* filter = new CharacterFilter(&e, "ab", 5);
        filter->setText("ab'ab'ab");
        QCOMPARE(e.text(), QString("ab'ab'ab"));
        QCOMPARE(e.maxLength(), 8);
        CharacterFilter::setText(&e, "a");
        QCOMPARE(e.maxLength(), 8); // never narrowed again: that would cut
        QCOMPARE(e.text(), QString("a"));
        // The limit holds for what the user adds, however wide the box is.
        QTest::keyClicks(&e, "bbbbbbbbb");
        QCOMPARE(e.text(), QString("abbbb"));
    }

    void theBoxReportsOnlyTheFilteredText()
    {
        QLineEdit e;
        new CharacterFilter(&e, "ab", 0);
        QSignalSpy edited(&e, &QLineEdit::textEdited);
        QString last;
        connect(&e, &QLineEdit::textChanged, &e, [&] { last = e.text(); });
        paste(e, "a*b");
        QCOMPARE(last, QString("ab"));
        QCOMPARE(e.text(), QString("ab"));
        QCOMPARE(edited.size(), 1);
    }

    void aMultiLineBoxKeepsLineBreaksWhenAsked()
    {
        QPlainTextEdit e;
        auto* filter = new CharacterFilter(&e, "ab ", 0, CharacterFilter::LineBreaks::Kept);
        QCOMPARE(filter->lineBreaks(), CharacterFilter::LineBreaks::Kept);
        filter->setText("x'y");
        QCOMPARE(e.toPlainText(), QString("x'y"));
        e.moveCursor(QTextCursor::End);
        QTest::keyClick(&e, Qt::Key_Return);
        QTest::keyClicks(&e, "a?b");
        QCOMPARE(e.toPlainText(), QString("x'y\nab"));
        paste(e, "\nb*a\n");
        QCOMPARE(e.toPlainText(), QString("x'y\nab\nba\n"));
        QCOMPARE(e.textCursor().position(), int(e.toPlainText().size()));
    }

    void aMultiLineBoxCutsAPasteToItsLimit()
    {
        QPlainTextEdit e;
        auto* filter = new CharacterFilter(&e, "ab", 4);
        filter->setText("ab");
        QTextCursor c = e.textCursor();
        c.setPosition(1);
        e.setTextCursor(c);
        paste(e, "*b*b*b");
        QCOMPARE(e.toPlainText(), QString("abbb"));
        QCOMPARE(e.textCursor().position(), 3);
    }
};

QTEST_MAIN(TestCharacterFilter)
#include "tst_characterfilter.moc"
