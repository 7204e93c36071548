// The media tree's model: sorted children, renames that keep the order and
// the persistent indexes right, and Qt's own model consistency checks.

#include "media/mediatree.h"
#include "media/mediatypes.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QtTest>

using namespace quillon;

namespace {

Medium medium(const QString& name, const QString& type = "3 - Digital Tape")
{
    Medium m;
    m.name = name;
    m.type = type;
    return m;
}

QStringList labels(const MediaTree& tree)
{
    QStringList out;
    for (int r = 0; r < tree.mediumCount(); ++r)
        out << tree.text(tree.model()->index(r, 0, tree.root()));
    return out;
}

} // namespace

class TstMediaTreeModel : public QObject {
    Q_OBJECT
private slots:
    void fillSortsWithoutRegardToCaseAndKeepsKeys();
    void renameMovesTheNodeAndPersistentIndexesFollow();
    void equalLabelsKeepTheirOrder();
    void passesTheModelTester();
};

void TstMediaTreeModel::fillSortsWithoutRegardToCaseAndKeepsKeys()
{
    MediaTree tree(nullptr);
    tree.fill({medium("delta"), medium("Alpha"), medium("charlie"), medium("Bravo")});
    QCOMPARE(labels(tree), QStringList({"Alpha", "Bravo", "charlie", "delta"}));
    // Keys name the stored position, not the sorted one.
    QCOMPARE(tree.key(tree.find("delta")), QString("1M"));
    QCOMPARE(tree.key(tree.find("Bravo")), QString("4M"));
    QVERIFY(tree.isMedium(tree.find("Alpha")));
    QVERIFY(!tree.isMedium(tree.root()));
    QCOMPARE(tree.text(tree.root()), MediaTree::rootText());
    QVERIFY(tree.textTaken("  ALPHA "));
    QVERIFY(tree.textTaken(MediaTree::rootText().toUpper()));
    QVERIFY(!tree.textTaken("Echo"));
    QVERIFY(tree.picture(tree.find("Alpha")) > 0);
    tree.clear();
    QCOMPARE(tree.mediumCount(), 0);
    QVERIFY(tree.root().isValid());
}

void TstMediaTreeModel::renameMovesTheNodeAndPersistentIndexesFollow()
{
    MediaTree tree(nullptr);
    tree.fill({medium("A1"), medium("B2"), medium("C3"), medium("D4"), medium("E5")});
    const QPersistentModelIndex renamed = tree.find("B2");
    const QPersistentModelIndex before = tree.find("A1");
    const QPersistentModelIndex between = tree.find("C3");
    const QPersistentModelIndex after = tree.find("E5");
    tree.setText(renamed, "D9");
    QCOMPARE(labels(tree), QStringList({"A1", "C3", "D4", "D9", "E5"}));
    QCOMPARE(tree.text(renamed), QString("D9"));
    QCOMPARE(tree.key(renamed), QString("2M"));
    QCOMPARE(tree.text(before), QString("A1"));
    QCOMPARE(tree.text(between), QString("C3"));
    QCOMPARE(tree.text(after), QString("E5"));
    // And back up to the top.
    tree.setText(renamed, "0 first");
    QCOMPARE(labels(tree), QStringList({"0 first", "A1", "C3", "D4", "E5"}));
    QCOMPARE(tree.text(renamed), QString("0 first"));
    QCOMPARE(tree.text(after), QString("E5"));
    // The root is not renamed.
    tree.setText(tree.root(), "x");
    QCOMPARE(tree.text(tree.root()), MediaTree::rootText());
}

void TstMediaTreeModel::equalLabelsKeepTheirOrder()
{
    MediaTree tree(nullptr);
    tree.fill({medium("same"), medium("X"), medium("Same")});
    QCOMPARE(labels(tree), QStringList({"same", "Same", "X"}));
    // A node renamed to an equal label keeps its place among the equal ones,
    // as a stable sort of the whole list puts it.
    tree.setText(tree.find("X"), "SAME");
    QCOMPARE(labels(tree), QStringList({"same", "Same", "SAME"}));
    tree.fill({medium("same"), medium("a"), medium("Same")});
    tree.setText(tree.find("a"), "SAME");
    QCOMPARE(labels(tree), QStringList({"SAME", "same", "Same"}));
}

void TstMediaTreeModel::passesTheModelTester()
{
    MediaTree tree(nullptr);
    QAbstractItemModelTester tester(tree.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<Medium> media;
    for (int i = 0; i < 300; ++i)
        media << medium(QString("Tape %1").arg((i * 7919) % 1000),
                        i % 2 ? "1 - Harddisk" : "2 - CD");
    tree.fill(media);
    QCOMPARE(tree.mediumCount(), 300);
    tree.setText(tree.find("Tape 0"), "Tape 999 renamed");
    tree.setPicture(tree.find("Tape 919"), 1);
    QCOMPARE(tree.picture(tree.find("Tape 919")), 1);
    QVERIFY(!tree.model()->data(tree.find("Tape 919"), Qt::DecorationRole).isNull());
    QVERIFY(!(tree.model()->flags(tree.find("Tape 919")) & Qt::ItemIsEditable));
    tree.clear();
    tree.fill(media.mid(0, 10));
}

QTEST_MAIN(TstMediaTreeModel)
#include "tst_mediatreemodel.moc"
