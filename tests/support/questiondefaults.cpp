// Compiled into every test program (an interface source of the test support
// library, so that its start-up function is not dropped by the linker): every
// question a scripted prompter is asked must default to the button listed
// here, and a question missing from the list fails the test that asks it.

#include "common/scriptedprompter.h"

#include <QCoreApplication>
#include <QMetaEnum>
#include <QTest>

namespace {

using Button = QMessageBox::StandardButton;

// Every question the program asks, by the start of its text, and the button
// a stray Enter presses. Before something is removed or thrown away the
// default is the answer that keeps it.
struct Question {
    const char* textStart;
    Button defaultButton;
};
const Question kQuestions[] = {
    {"Do you really want to exit QUILLON ?", QMessageBox::Yes},
    {"Do you really want to erase this song ?", QMessageBox::No},
    {"Deleting a style may effect the 'STYLE'-field", QMessageBox::No},
    {"The text in the boxes has not been stored.", QMessageBox::No},
    {"The changes have not been stored.\rDo you want to store them?", QMessageBox::Yes},
    {"Item \r", QMessageBox::No},
    {"Do you really want to remove\r", QMessageBox::Cancel},
    {"Note changed!\rDo you want to exit anyway?", QMessageBox::No},
    {"Lyrics changed!\rDo you want to exit anyway?", QMessageBox::No},
    {"The data check found ", QMessageBox::Yes},
    {"The catalogue on the server cannot be opened", QMessageBox::No},
};

QString buttonName(Button button)
{
    const char* key = QMetaEnum::fromType<QMessageBox::StandardButtons>().valueToKey(int(button));
    return key ? QString::fromLatin1(key) : QString::number(int(button));
}

void checkDefault(const quillon::ScriptedPrompter::Asked& asked)
{
    // A box with a single button asks nothing.
    if (qPopulationCount(uint(asked.buttons.toInt())) < 2)
        return;
    for (const Question& q : kQuestions) {
        if (!asked.text.startsWith(QString::fromUtf8(q.textStart)))
            continue;
        if (asked.defaultButton != q.defaultButton)
            QTest::qFail(qPrintable(QStringLiteral("the question \"%1\" defaults to %2, not %3")
                                        .arg(asked.text, buttonName(asked.defaultButton),
                                             buttonName(q.defaultButton))),
                         __FILE__, __LINE__);
        return;
    }
    QTest::qFail(qPrintable(QStringLiteral("the question \"%1\" (default %2) is missing from "
                                           "the default buttons in questiondefaults.cpp")
                                .arg(asked.text, buttonName(asked.defaultButton))),
                 __FILE__, __LINE__);
}

void installQuestionCheck()
{
    quillon::ScriptedPrompter::setMessageCheck(&checkDefault);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installQuestionCheck)
