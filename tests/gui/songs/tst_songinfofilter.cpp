#include "common/characterfilter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace quillon;

// The filter behind every captioned box of the song windows.
class TestSongInfoFilter final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lettersInEitherCase()
    {
        const QString set = " abcäöü1";
        QVERIFY(CharacterFilter::admits(set, 'a'));
        QVERIFY(CharacterFilter::admits(set, 'A'));
        QVERIFY(CharacterFilter::admits(set, QChar(0xC4))); // Ä
        QVERIFY(!CharacterFilter::admits(set, 'd'));
        QVERIFY(!CharacterFilter::admits(set, '\n'));
        QVERIFY(CharacterFilter::admits({}, '*'));
        QVERIFY(!CharacterFilter::admits({}, '\n'));
    }

    void onlyTheInsertionIsFiltered_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("hint");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursor");
        QTest::newRow("typed ok") << "ab"
                                  << "abc" << 3 << 0 << "abc" << 3;
        QTest::newRow("typed refused") << "ab"
                                       << "ab*" << 3 << 0 << "ab" << 2;
        QTest::newRow("pasted in the middle") << "ac"
                                              << "a*b!c" << 4 << 0 << "abc" << 2;
        QTest::newRow("old text kept") << "x*y"
                                       << "x*yb" << 4 << 0 << "x*yb" << 4;
        QTest::newRow("deleting") << "x*y"
                                  << "x*" << 2 << 0 << "x*" << 2;
        QTest::newRow("at the limit") << "aaaaa"
                                      << "aaaaaa" << 6 << 5 << "aaaaa" << 5;
        QTest::newRow("repeat at start") << "aaaaa"
                                         << "aaaaaa" << 1 << 5 << "aaaaa" << 0;
        QTest::newRow("paste cut to fit") << "ab"
                                          << "abcccc" << 6 << 4 << "abcc" << 4;
        QTest::newRow("over-long stored text") << "aaaaaaa"
                                               << "aaaaaab" << 7 << 5 << "aaaaaa" << 6;
        QTest::newRow("replace selection") << "abc"
                                           << "a1c" << 2 << 0 << "a1c" << 2;
    }
    void onlyTheInsertionIsFiltered()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, hint);
        QFETCH(int, maxLength);
        QFETCH(QString, result);
        QFETCH(int, cursor);
        int at = -1;
        QCOMPARE(CharacterFilter::filtered(before, after, " abc1", maxLength, &at, hint), result);
        QCOMPARE(at, cursor);
    }

    void aLineEditKeepsItsLimitWhileTyping()
    {
        QLineEdit e;
        new CharacterFilter(&e, "abc", 5);
        QTest::keyClicks(&e, "aaaaaaaaa");
        QCOMPARE(e.text(), QString("aaaaa"));
        e.setText("cc*cc*cc"); // the program's own text is not filtered
        QCOMPARE(e.text(), QString("cc*cc*cc"));
        e.setCursorPosition(0);
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(e.text(), QString("c*cc*cc"));
    }

    void aMultiLineBoxRefusesLineBreaks()
    {
        QPlainTextEdit e;
        auto* filter = new CharacterFilter(&e, "ab ", 6);
        filter->setText("a\nb");
        QCOMPARE(e.toPlainText(), QString("a\nb"));
        filter->setText(QString());
        QTest::keyClicks(&e, "ab");
        QTest::keyClick(&e, Qt::Key_Return);
        QTest::keyClicks(&e, "ba abab");
        QCOMPARE(e.toPlainText(), QString("abba a"));
    }
};

QTEST_MAIN(TestSongInfoFilter)
#include "tst_songinfofilter.moc"
