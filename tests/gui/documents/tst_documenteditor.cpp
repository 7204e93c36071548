#include "common/scriptedprompter.h"
#include "documents/characterdialog.h"
#include "documents/documentbuttonbar.h"
#include "documents/documenteditor.h"
#include "documents/documentstatusbar.h"
#include "documents/paragraphdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace quillon;

namespace {

// Runs `step` on the modal dialog of type T once it is shown.
template <typename T> void whenModal(std::function<void(T*)> step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
    });
}

void selectAll(QTextEdit* edit)
{
    QTextCursor c = edit->textCursor();
    c.select(QTextCursor::Document);
    edit->setTextCursor(c);
}

} // namespace

class TestDocumentEditor final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typingEditsTheDocumentAndNotifies()
    {
        RichTextDocument doc;
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        editor.show();
        QSignalSpy spy(&doc, &RichTextDocument::contentChanged);
        QTest::keyClicks(editor.textEdit(), "Hello");
        QTest::keyClick(editor.textEdit(), Qt::Key_Return);
        QTest::keyClicks(editor.textEdit(), "world");
        QCOMPARE(doc.text(), QString("Hello\nworld"));
        QVERIFY(spy.count() >= 11);
        QTRY_COMPARE(editor.statusBar()->lineText(), QString("Line 2"));
        QCOMPARE(editor.statusBar()->columnText(), QString("Column 6"));
        QCOMPARE(editor.statusBar()->pageText(), QString("Page 1 of 1"));
    }

    void statusBarFollowsPages()
    {
        RichTextDocument doc;
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QString("line %1").arg(i);
        doc.setText(lines.join('\n'));
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        const int n = doc.pageCount();
        QVERIFY(n > 1);
        editor.textEdit()->moveCursor(QTextCursor::End);
        QTRY_COMPARE(editor.statusBar()->pageText(), QString("Page %1 of %1").arg(n));
        QCOMPARE(editor.statusBar()->lineText(), QString("Line 200"));
        editor.textEdit()->moveCursor(QTextCursor::Start);
        QTRY_COMPARE(editor.statusBar()->pageText(), QString("Page 1 of %1").arg(n));
        // Text set while the editor shows the document updates the count.
        doc.setText("short");
        QTRY_COMPARE(editor.statusBar()->pageText(), QString("Page 1 of 1"));
    }

    void documentFontSurvivesTheEditor()
    {
        RichTextDocument doc;
        doc.setFontName("Courier New");
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        QCOMPARE(doc.fontName(), QString("Courier New"));
        // A window that sets its own font does not change the document's.
        QWidget window;
        window.setFont(QFont("DejaVu Serif", 20));
        editor.setParent(&window);
        window.show();
        QCOMPARE(doc.fontName(), QString("Courier New"));
        editor.setParent(nullptr);
    }

    void buttonBarFormatsTheSelection()
    {
        RichTextDocument doc;
        doc.setText("some words");
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        editor.show();
        selectAll(editor.textEdit());
        editor.buttonBar()->boldButton()->click();
        editor.buttonBar()->italicButton()->click();
        editor.buttonBar()->underlineButton()->click();
        editor.buttonBar()->alignButton(Qt::AlignHCenter)->click();
        QComboBox* size = editor.buttonBar()->sizeBox();
        size->setEditText("18");
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QTextCursor c(doc.textDocument());
        c.setPosition(3);
        const QTextCharFormat f = c.charFormat();
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QVERIFY(f.fontItalic());
        QVERIFY(f.fontUnderline());
        QCOMPARE(f.fontPointSize(), 18.0);
        QVERIFY(doc.textDocument()->begin().blockFormat().alignment() & Qt::AlignHCenter);
        // Toggling bold off again.
        editor.buttonBar()->boldButton()->click();
        c.setPosition(3);
        QCOMPARE(c.charFormat().fontWeight(), int(QFont::Normal));
        // The bar shows the format at the cursor.
        editor.textEdit()->moveCursor(QTextCursor::End);
        QVERIFY(editor.buttonBar()->italicButton()->isChecked());
        QVERIFY(!editor.buttonBar()->boldButton()->isChecked());
        QVERIFY(editor.buttonBar()->alignButton(Qt::AlignHCenter)->isChecked());
    }

    void characterDialogUsesPrompterFontAndColour()
    {
        RichTextDocument doc;
        doc.setText("abc");
        ScriptedPrompter prompter;
        QFont font("DejaVu Serif");
        font.setPointSize(20);
        font.setBold(true);
        prompter.answerFont(font);
        prompter.answerColor(QColor(0, 128, 0));
        DocumentEditor editor(doc, prompter);
        selectAll(editor.textEdit());
        whenModal<CharacterDialog>([](CharacterDialog* d) {
            d->fontButton()->click();
            d->colorButton()->click();
            d->accept();
        });
        editor.showCharacterDialog();
        QTextCursor c(doc.textDocument());
        c.setPosition(2);
        const QTextCharFormat f = c.charFormat();
        QCOMPARE(f.fontFamilies().toStringList().value(0), QString("DejaVu Serif"));
        QCOMPARE(f.fontPointSize(), 20.0);
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QCOMPARE(f.foreground().color(), QColor(0, 128, 0));
    }

    void characterDialogCancelledChangesNothing()
    {
        RichTextDocument doc;
        doc.setText("abc");
        const QByteArray before = doc.saveBytes();
        ScriptedPrompter prompter;
        prompter.answerColor(QColor(255, 0, 0));
        DocumentEditor editor(doc, prompter);
        selectAll(editor.textEdit());
        QSignalSpy spy(&doc, &RichTextDocument::contentChanged);
        whenModal<CharacterDialog>([](CharacterDialog* d) {
            d->fontButton()->click(); // font dialog cancelled: nothing scripted
            d->colorButton()->click();
            d->reject();
        });
        editor.showCharacterDialog();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(doc.saveBytes(), before);
    }

    void paragraphDialogSetsAlignmentAndIndents()
    {
        RichTextDocument doc;
        doc.setText("one\ntwo");
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        editor.textEdit()->moveCursor(QTextCursor::End);
        whenModal<ParagraphDialog>([](ParagraphDialog* d) {
            d->alignmentBox()->setCurrentIndex(2); // right
            d->leftBox()->setValue(2.54);
            d->afterBox()->setValue(0.5);
            d->accept();
        });
        editor.showParagraphDialog();
        const QTextBlock first = doc.textDocument()->begin();
        const QTextBlock second = first.next();
        QVERIFY(second.blockFormat().alignment() & Qt::AlignRight);
        QCOMPARE(second.blockFormat().leftMargin(), 96.0);
        QCOMPARE(qRound(second.blockFormat().bottomMargin() * 100), qRound(96.0 / 2.54 * 50));
        QVERIFY(!(first.blockFormat().alignment() & Qt::AlignRight));
        QCOMPARE(first.blockFormat().leftMargin(), 0.0);
    }

    void clipboardThroughTheEditor()
    {
        RichTextDocument doc;
        doc.setText("abc");
        ScriptedPrompter prompter;
        DocumentEditor editor(doc, prompter);
        selectAll(editor.textEdit());
        QVERIFY(editor.clipboardAction(RichTextDocument::ClipboardAction::Cut));
        QCOMPARE(doc.text(), QString());
        QVERIFY(editor.clipboardAction(RichTextDocument::ClipboardAction::Paste));
        QVERIFY(editor.clipboardAction(RichTextDocument::ClipboardAction::Paste));
        QCOMPARE(doc.text(), QString("abcabc"));
        QCOMPARE(editor.textEdit()->textCursor().position(), 6);
    }

    void documentOutlivesTheEditor()
    {
        RichTextDocument doc;
        {
            ScriptedPrompter prompter;
            DocumentEditor editor(doc, prompter);
            QTest::keyClicks(editor.textEdit(), "kept");
        }
        QCOMPARE(doc.text(), QString("kept"));
        doc.setText("still usable");
        QCOMPARE(doc.pageCount(), 1);
    }
};

QTEST_MAIN(TestDocumentEditor)
#include "tst_documenteditor.moc"
