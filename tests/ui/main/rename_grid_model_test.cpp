#include "main/name_changes.h"
#include "main/rename_grid_model.h"
#include "main/rename_grid_view.h"

#include "rename_list.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

using namespace velmorandi;

class RenameGridModelTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheCoreRows();
    void announcesLoadsAndRecompositions();
    void serialColumnShowsEveryRowNumberWhole();
    void changedCharactersOfEditedNamesAreBold();
};

void RenameGridModelTest::showsTheCoreRows() {
    RenameList list;
    list.load({"archive.tar.gz", "README", std::string("caf\xe9.txt")});
    RenameGridModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 4);
    const QStringList captions = {"S#", "Original filename", "Edited filename", "Status"};
    for (int column = 0; column < 4; ++column)
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), captions[column]);

    QCOMPARE(model.index(0, 0).data().toString(), QString("1"));
    QCOMPARE(model.index(2, 0).data().toString(), QString("3"));
    QCOMPARE(model.index(0, 1).data().toString(), QString("archive.tar.gz"));
    QCOMPARE(model.index(1, 2).data().toString(), QString("README"));
    QVERIFY(model.index(2, 1).data().toString().startsWith("caf"));
    QVERIFY(!model.index(0, 1).data(Qt::EditRole).isValid());
    QVERIFY(!model.index(0, 1).flags().testFlag(Qt::ItemIsEditable));
}

void RenameGridModelTest::announcesLoadsAndRecompositions() {
    RenameList list;
    RenameGridModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.rowsRecomposed();
    QCOMPARE(changes.count(), 0);

    const int loaded = model.reload([&] {
        list.load({"a.txt", "b.txt"});
        return 2;
    });
    QCOMPARE(loaded, 2);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.rowCount(), 2);

    list.Blank();
    model.rowsRecomposed();
    QCOMPARE(changes.count(), 1);
    const auto from = changes.first().at(0).value<QModelIndex>();
    const auto to = changes.first().at(1).value<QModelIndex>();
    QCOMPARE(from, model.index(0, 0));
    QCOMPARE(to, model.index(1, 3));
    QCOMPARE(model.index(1, 2).data().toString(), QString(".txt"));

    model.reload([&] { list.load({}); });
    QCOMPARE(resets.count(), 2);
    QCOMPARE(model.rowCount(), 0);
}

// As the style draws a cell: its text rectangle less the focus margins, elided in the middle.
static bool shownWhole(const QTableView& grid, int row) {
    const QModelIndex index = grid.model()->index(row, RenameGridModel::Serial);
    QStyleOptionViewItem option;
    option.initFrom(&grid);
    option.rect = QRect(0, 0, grid.columnWidth(RenameGridModel::Serial) - 1, 20);
    option.text = index.data().toString();
    option.features = QStyleOptionViewItem::HasDisplay;
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const QRect text = grid.style()
                           ->subElementRect(QStyle::SE_ItemViewItemText, &option, &grid)
                           .adjusted(margin, 0, -margin, 0);
    return option.fontMetrics.elidedText(option.text, Qt::ElideMiddle, text.width()) == option.text;
}

void RenameGridModelTest::serialColumnShowsEveryRowNumberWhole() {
    RenameList list;
    RenameGridModel model(list);
    RenameGridView grid;
    grid.setModel(&model);
    grid.setColumnWidth(RenameGridModel::Serial, 20);
    // 54317 was shown as "5…7"; six and seven digits, the widest digit last.
    for (const int rows : {54317, 888888, 1000000}) {
        model.reload([&] { list.load(std::vector<std::string>(rows, "f")); });
        QVERIFY2(shownWhole(grid, rows - 1), qPrintable(QString::number(rows)));
        // However the column is made narrower.
        grid.horizontalHeader()->resizeSection(RenameGridModel::Serial, 10);
        QVERIFY2(shownWhole(grid, rows - 1), qPrintable(QString::number(rows)));
    }
}

void RenameGridModelTest::changedCharactersOfEditedNamesAreBold() {
    // What lies between the start and the end both names share, in whole characters.
    const QString decomposed = QString("caf") + QChar('e') + QChar(0x301) + ".txt";
    const QString smile = QString("x") + QChar(0xD83D) + QChar(0xDE00) + ".txt";
    const QString grin = QString("x") + QChar(0xD83D) + QChar(0xDE01) + ".txt";
    const QList<std::tuple<QString, QString, TextSpan>> names = {
        {"photo.jpg", "PHOTO.jpg", {0, 5}},
        {"a.txt", "new_a.txt", {0, 4}},
        {"a.txt", "a_new.txt", {1, 5}},
        {"aaa.txt", "aa.txt", {}},
        {"abc.txt", "abc.txt", {}},
        {"cafe.txt", decomposed, {3, 5}},
        {smile, grin, {1, 3}},
        {"report.txt", "01 report 2.txt", {0, 11}},
        {"IMG_0001.jpg", "IMG_0002.jpg", {7, 8}}};
    for (const auto& [original, edited, span] : names)
        QVERIFY2(changedSpan(original, edited) == span, qPrintable(original + " " + edited));
    // Shortened in the middle: the head and tail keep their bold, a hidden change shows
    // as a bold ellipsis. A name of 20 characters shown as 5 + "…" + 6.
    const MiddleCut cut{5, 6};
    const QList<std::pair<TextSpan, QList<TextSpan>>> cuts = {
        {{0, 3}, {{0, 3}}},  {{7, 9}, {{5, 6}}},   {{16, 18}, {{8, 10}}},
        {{3, 17}, {{3, 9}}}, {{0, 20}, {{0, 12}}}, {{}, {}}};
    for (const auto& [changed, shown] : cuts)
        QCOMPARE(shownChanges(changed, 20, cut), shown);
    QCOMPARE(middleCutOf(QString("abcdefghij"), QString("abc\u2026hij"))->tail, 3);
    QCOMPARE(middleCutOf(QString("ab\u2026defghij"), QString("ab\u2026\u2026ij"))->head, 3);

    // As drawn: the same edited name reads differently where it was changed.
    RenameList list;
    list.load({"abc.txt", "ABC.txt", "xyz.txt", "XYZ.txt"});
    list.rewriteEditedBases([](const std::string& base, std::size_t) {
        return QString::fromStdString(base).toUpper().toStdString();
    });
    RenameGridModel model(list);
    RenameGridView grid;
    grid.setModel(&model);
    grid.resize(600, 300);
    grid.setColumnWidth(RenameGridModel::Edited, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto drawn = [&](int row) {
        const QRect cell = grid.visualRect(model.index(row, RenameGridModel::Edited));
        return grid.viewport()->grab(cell).toImage();
    };
    QVERIFY(drawn(0) != drawn(1));
    QVERIFY(drawn(2) != drawn(3));
    // Unchanged names are drawn as the style draws them.
    const QImage unchanged = drawn(1);
    grid.setItemDelegate(new QStyledItemDelegate(&grid));
    QCOMPARE(drawn(1), unchanged);
}

QTEST_MAIN(RenameGridModelTest)
#include "rename_grid_model_test.moc"
