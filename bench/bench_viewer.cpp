// Data viewer speed: showing 2000 rows of ten columns (copy, formatting,
// columns sized to their contents, first paint) against a bare QTreeWidget
// filled with the same texts already formatted; and sorting by money.
#include "WidgetsBench.h"

#include "ado/Recordset.h"
#include "automation/LocaleFacts.h"
#include "config/ConfigObjects.h"
#include "viewer/ViewerLoad.h"
#include "viewer/ctlDataViewer.h"

#include <QApplication>
#include <QDate>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr int kRows = 2000;

struct ColumnDef
{
    const char *name;
    qint32 adoType;
    qint32 kind;
    const char *format;
};

// Numbers, money, dates and texts, as a sales data view shows them.
const ColumnDef kColumns[] = {
    {"Id", qv::ado::adInteger, qv::FieldTypeNumber, "0"},
    {"Customer", qv::ado::adVarWChar, qv::FieldTypeText, "none"},
    {"City", qv::ado::adVarWChar, qv::FieldTypeText, "All Uppercase"},
    {"Amount", qv::ado::adCurrency, qv::FieldTypeCurrency, "Currency"},
    {"Price", qv::ado::adDouble, qv::FieldTypeNumber, "#,##0.00"},
    {"Quantity", qv::ado::adInteger, qv::FieldTypeNumber, "#,##0"},
    {"Ordered", qv::ado::adDate, qv::FieldTypeDate, "Short Date"},
    {"Shipped", qv::ado::adDate, qv::FieldTypeDate, "d mmmm yyyy"},
    {"Discount", qv::ado::adDouble, qv::FieldTypePercent, "0.00%"},
    {"Note", qv::ado::adVarWChar, qv::FieldTypeText, "none"},
};

QList<qv::Variant> RowValues(int i)
{
    const double day = double(QDate(1899, 12, 30).daysTo(QDate(2020, 1, 1))) + (i * 37) % 1500;
    return {qv::Variant(qint32(i + 1)),
            qv::Variant(QStringLiteral("Customer number %1").arg(i * 7919 % 10007)),
            qv::Variant(QStringLiteral("city %1").arg(i % 97)),
            qv::Variant(qv::Currency{qint64((i * 7919 % 1000003) - 200000) * 100}),
            qv::Variant((i * 104729 % 100000) / 7.0),
            qv::Variant(qint32(i * 31 % 5000)),
            qv::Variant(qv::DateValue{day}),
            qv::Variant(qv::DateValue{day + 3.5}),
            qv::Variant((i % 40) / 100.0),
            qv::Variant(QStringLiteral("Note %1 for the order").arg(i))};
}

std::shared_ptr<qv::config::DataView> SalesView()
{
    auto view = std::make_shared<qv::config::DataView>(1, std::make_shared<qv::config::IdSource>(),
                                                       std::weak_ptr<qv::config::ConfigStore>());
    auto rs = qv::ado::Recordset::Create();
    QList<qv::Variant> names;
    for (const ColumnDef &c : kColumns) {
        auto field = view->Fields.Add(QString::fromLatin1(c.name));
        field->DataKind = c.kind;
        field->ViewFormat = QString::fromLatin1(c.format);
        rs->Fields().Append(QString::fromLatin1(c.name), c.adoType, c.adoType == qv::ado::adVarWChar ? 100 : 0);
        names << qv::Variant(QString::fromLatin1(c.name));
    }
    rs->Open();
    for (int i = 0; i < kRows; ++i)
        rs->AddNew(names, RowValues(i));
    rs->MoveFirst();
    view->Recordset = rs;
    return view;
}

// A shown window of the size a dialog gives the list.
std::unique_ptr<QWidget> Window(QWidget *child)
{
    auto window = std::make_unique<QWidget>();
    window->resize(900, 600);
    child->setParent(window.get());
    child->setGeometry(0, 0, 900, 600);
    window->show();
    QApplication::processEvents();
    return window;
}

void BM_SetDataView(benchmark::State &state)
{
    auto view = SalesView();
    auto *viewer = new qv::ctlDataViewer;
    auto window = Window(viewer);
    for (auto _ : state) {
        viewer->SetDataView(view);
        window->repaint();
    }
}
BENCHMARK(BM_SetDataView)->Unit(benchmark::kMillisecond);

void BM_TreeWidgetBaseline(benchmark::State &state)
{
    // The same texts, formatted before the clock starts.
    auto view = SalesView();
    const qv::viewer::DisplayColumns columns = qv::viewer::BuildDisplayColumns(*view, view->Recordset.get());
    const auto rows = qv::viewer::CopyRows(*view->Recordset, columns, kRows).colRows;
    QStringList headers;
    for (const ColumnDef &c : kColumns)
        headers << QString::fromLatin1(c.name);

    // Bare: Qt's defaults, only the columns named.
    auto *tree = new QTreeWidget;
    tree->setHeaderLabels(headers);
    auto window = Window(tree);
    for (auto _ : state) {
        tree->clear();
        QList<QTreeWidgetItem *> items;
        items.reserve(kRows);
        for (const auto &row : rows)
            items << new QTreeWidgetItem(QStringList(row.colTexts));
        tree->addTopLevelItems(items);
        for (int c = 0; c < tree->columnCount(); ++c)
            tree->resizeColumnToContents(c);
        window->repaint();
    }
}
BENCHMARK(BM_TreeWidgetBaseline)->Unit(benchmark::kMillisecond);

void BM_SortByCurrency(benchmark::State &state)
{
    auto view = SalesView();
    auto *viewer = new qv::ctlDataViewer;
    auto window = Window(viewer);
    viewer->SetDataView(view);
    int order = 0;
    for (auto _ : state)
        viewer->Sort(5, order ^= 1); // Amount: list column 5 after the check boxes, Id, Customer, City
}
BENCHMARK(BM_SortByCurrency)->Unit(benchmark::kMicrosecond);

const bool kShowGoal = qv::bench::AddRatioGoal(
    {"viewer SetDataView 2000x10 vs QTreeWidget", "BM_SetDataView", "BM_TreeWidgetBaseline", 0.5});
const bool kSortGoal = qv::bench::AddTimeGoal("viewer sort 2000 rows by currency", "BM_SortByCurrency", 5000);

} // namespace
