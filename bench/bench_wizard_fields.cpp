// The Data View Wizard's display-field page for a table of 500 columns:
// made, filled from the data view, shown and painted, against a bare
// QTreeWidget made, filled with the same rows, shown and painted.
#include "WidgetsBench.h"

#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "wizard/DisplayFieldsPage.h"

#include "wizard/DisplayFieldModel.h"
#include <QBoxLayout>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr int kColumns = 500;

// A data view over a table of 500 columns of every kind, each shown under a
// format of its own or its kind's default.
struct WideTable
{
    std::shared_ptr<qv::config::ConfigStore> store = qv::config::ConfigStore::Create();
    std::shared_ptr<qv::config::DataView> view = store->DataViewCollection().AddBlank();

    WideTable()
    {
        struct Kind
        {
            int adoType;
            const char *format;
        };
        const Kind kinds[] = {{3, ""},          {202, "Title Case"}, {135, "d mmmm yyyy"}, {5, "#,##0.00"},
                              {11, "On/Off"},   {6, "Currency"},     {134, ""},            {202, "none"},
                              {131, "0.00%"},   {133, "Short Date"}};
        view->Name = QStringLiteral("Wide");
        for (int c = 0; c < kColumns; ++c) {
            auto field = view->Fields.Add(QStringLiteral("Column%1").arg(c, 3, 10, QLatin1Char('0')));
            const Kind &kind = kinds[c % std::size(kinds)];
            field->DisplayName = QStringLiteral("Column number %1").arg(c);
            field->AdoType = kind.adoType;
            field->ViewFormat = QString::fromLatin1(kind.format);
        }
    }
};

WideTable &Wide()
{
    static WideTable table;
    return table;
}

// The page made, filled, shown and painted in a window of its own.
void BM_DisplayFieldsPageShows500Columns(benchmark::State &state)
{
    qv::wizard::DataViewWizardState wizard;
    wizard.Begin(false, false);
    qv::wizard::WizardContext context;
    context.Store = Wide().store;
    context.View = Wide().view;
    context.State = &wizard;
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>();
        window->resize(667, 433);
        auto *page = new qv::wizard::DisplayFieldsPage(context, window.get());
        (new QVBoxLayout(window.get()))->addWidget(page);
        page->Enter(qv::wizard::Direction::Next, true);
        window->show();
        window->repaint();
        state.PauseTiming();
        if (page->Model()->rowCount() != kColumns)
            state.SkipWithError("the grid lost rows");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DisplayFieldsPageShows500Columns)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_TreeWidgetBaseline(benchmark::State &state)
{
    // The page's own texts, taken before the clock starts.
    QList<QStringList> rows;
    {
        qv::wizard::DataViewWizardState wizard;
        wizard.Begin(false, false);
        qv::wizard::WizardContext context{Wide().store, Wide().view, &wizard};
        qv::wizard::DisplayFieldsPage page(context, nullptr);
        page.Enter(qv::wizard::Direction::Next, true);
        const QAbstractItemModel *model = page.Model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < model->columnCount(); ++c)
                row << model->index(r, c).data().toString();
            rows << row;
        }
    }
    for (auto _ : state) {
        // Bare: Qt's defaults, only the columns named.
        auto tree = std::make_unique<QTreeWidget>();
        tree->setHeaderLabels({QStringLiteral("Display Name"), QStringLiteral("Name"), QStringLiteral("Format"),
                               QStringLiteral("Format Example")});
        tree->resize(667, 433);
        QList<QTreeWidgetItem *> items;
        items.reserve(rows.size());
        for (const QStringList &row : rows)
            items << new QTreeWidgetItem(row);
        tree->addTopLevelItems(items);
        tree->show();
        tree->repaint();
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TreeWidgetBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

const bool kShowGoal = qv::bench::AddRatioGoal({"wizard display-field page of 500 columns vs QTreeWidget",
                                                "BM_DisplayFieldsPageShows500Columns", "BM_TreeWidgetBaseline", 1.5});

} // namespace
