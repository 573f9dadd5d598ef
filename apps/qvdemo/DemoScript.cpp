#include "DemoScript.h"

#include "DemoAuthorScript.h"
#include "DemoSteps.h"
#include "DemoDataMenu.h"
#include "DemoWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace qvdemo {

namespace {

constexpr int kTimeoutMs = 120000;

QDialog *VisibleDialog(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible() && dialog->objectName() == QLatin1String(name))
            return dialog;
    }
    return nullptr;
}

// The texts of a row (or, for row -1, the captions) in the columns the user
// sees, in screen order: what Insert Data hands back.
QStringList ShownTexts(QTreeView *list, int row)
{
    QStringList texts;
    QHeaderView *header = list->header();
    QAbstractItemModel *model = list->model();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (column == 0 || header->isSectionHidden(column))
            continue; // the check-box column and hidden columns are not output
        texts.append(row < 0 ? model->headerData(column, Qt::Horizontal).toString()
                             : model->index(row, column).data().toString());
    }
    return texts;
}

void PrintLine(const char *kind, const QStringList &texts)
{
    std::printf("%s\t%s\n", kind, qPrintable(texts.join(QLatin1Char('\t'))));
}

// Waits until the dialog of that name shows at least `rows` rows, then hands
// it to Work. Polls, since the dialog runs its own modal loop.
class DialogDriver : public QObject
{
public:
    DialogDriver(const char *dialog, int rows) : m_dialog(dialog), m_rows(rows)
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
        m_timer.start(100);
    }
    bool Done() const { return m_done; }

protected:
    virtual void Work(QDialog *dialog, QTreeView *list) = 0;
    virtual bool Ready(QTreeView *list) { return list->model()->rowCount() >= m_rows; }
    void Press(QDialog *dialog, const char *button)
    {
        auto *target = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
        if (!target) {
            std::fprintf(stderr, "qvdemo: %s has no %s button\n", m_dialog, button);
            dialog->reject();
            return;
        }
        m_done = true;
        target->click();
    }

private:
    void Step()
    {
        QDialog *dialog = VisibleDialog(m_dialog);
        if (m_clock.elapsed() > kTimeoutMs) {
            m_timer.stop();
            std::fprintf(stderr, "qvdemo: %s did not show %d rows in time\n", m_dialog, m_rows);
            if (dialog)
                dialog->reject();
            return;
        }
        auto *list = dialog ? dialog->findChild<QTreeView *>(QStringLiteral("lvwItems")) : nullptr;
        if (!list || !Ready(list))
            return;
        m_timer.stop();
        Work(dialog, list);
    }

    const char *m_dialog;
    int m_rows;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_done = false;
};

// Ticks rows in Insert Data.
class InsertDataDriver : public DialogDriver
{
public:
    InsertDataDriver() : DialogDriver("frmSelectDataItems", 3) {}
};

// Ticks the first three rows, picks a table with header, takes the picture, OK.
class ThreeRowsDriver : public InsertDataDriver
{
public:
    explicit ThreeRowsDriver(QString screenshot) : m_screenshot(std::move(screenshot)) {}
    const QStringList &Header() const { return m_header; }
    const QList<QStringList> &Rows() const { return m_rows; }

private:
    void Work(QDialog *dialog, QTreeView *list) override
    {
        m_header = ShownTexts(list, -1);
        for (int row = 0; row < 3; ++row) {
            list->model()->setData(list->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
            m_rows.append(ShownTexts(list, row));
        }
        if (auto *layout = dialog->findChild<QComboBox *>(QStringLiteral("cboFormatType"))) {
            const int index = layout->findText(QStringLiteral("Table with Header"));
            layout->setCurrentIndex(index);
            emit layout->activated(index);
        }
        QApplication::processEvents();
        if (!m_screenshot.isEmpty() && !dialog->grab().save(m_screenshot, "PNG"))
            std::fprintf(stderr, "qvdemo: the picture could not be written to %s\n", qPrintable(m_screenshot));
        Press(dialog, "cmdOK");
    }

    QString m_screenshot;
    QStringList m_header;
    QList<QStringList> m_rows;
};

// Notes which rows come up ticked (1-based), then cancels.
class TickedRowsDriver : public InsertDataDriver
{
public:
    const QStringList &Ticked() const { return m_ticked; }

private:
    void Work(QDialog *dialog, QTreeView *list) override
    {
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            if (list->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                m_ticked.append(QString::number(row + 1));
        }
        Press(dialog, "cmdCancel");
    }

    QStringList m_ticked;
};

// Notes the caption and how many rows View Data shows, pictures it, closes it.
class ViewDataDriver : public DialogDriver
{
public:
    explicit ViewDataDriver(QString screenshot) : DialogDriver("frmViewDataItems", 1), m_screenshot(std::move(screenshot)) {}
    QString Caption() const { return m_caption; }
    int Shown() const { return m_shown; }

private:
    // The rows arrive in batches: ready once the count has held for five polls.
    bool Ready(QTreeView *list) override
    {
        const int rows = list->model()->rowCount();
        m_steady = rows > 0 && rows == m_lastCount ? m_steady + 1 : 0;
        m_lastCount = rows;
        return m_steady >= 5;
    }

    void Work(QDialog *dialog, QTreeView *list) override
    {
        m_caption = dialog->windowTitle();
        m_shown = list->model()->rowCount();
        if (!m_screenshot.isEmpty() && !dialog->grab().save(m_screenshot, "PNG"))
            std::fprintf(stderr, "qvdemo: the picture could not be written to %s\n", qPrintable(m_screenshot));
        Press(dialog, "cmdClose");
    }

    QString m_screenshot;
    QString m_caption;
    int m_shown = 0;
    int m_lastCount = -1;
    int m_steady = 0;
};

// The data view the scripts work on; nullptr (and a message) when it is missing.
std::shared_ptr<qv::config::DataView> SampleCustomers(DemoDataMenu &menu)
{
    auto oDataView = menu.FindDataView(QStringLiteral("Sample Customers"));
    if (!oDataView)
        std::fprintf(stderr, "qvdemo: the personal configuration has no data view \"Sample Customers\"\n");
    return oDataView;
}

int ViewData(const QStringList &arguments, DemoDataMenu &menu)
{
    bool bNumber = false;
    const int lPreview = arguments.value(1).toInt(&bNumber);
    if (arguments.size() < 2 || arguments.size() > 3 || !bNumber || lPreview < 0) {
        std::fprintf(stderr, "usage: qvdemo --script view-data PREVIEW_ROWS [SCREENSHOT]\n");
        return 2;
    }
    auto oDataView = SampleCustomers(menu);
    if (!oDataView)
        return 2;
    ViewDataDriver driver(arguments.value(2));
    menu.ViewData(oDataView, lPreview);
    if (!driver.Done()) {
        std::fprintf(stderr, "qvdemo: View Data showed no rows\n");
        return 4;
    }
    PrintLine("caption", {driver.Caption()});
    PrintLine("shown", {QString::number(driver.Shown())});
    std::fflush(stdout);
    return 0;
}

int InsertThreeRows(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu)
{
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fprintf(stderr, "usage: qvdemo --script insert-three-rows OUTPUT [SCREENSHOT]\n");
        return 2;
    }
    auto oDataView = SampleCustomers(menu);
    if (!oDataView)
        return 2;
    window.Editor()->setPlainText(QStringLiteral("Our three customers:"));
    window.Editor()->moveCursor(QTextCursor::End);

    ThreeRowsDriver driver(arguments.value(2));
    const bool bWritten = menu.InsertData(oDataView);
    if (!driver.Done() || !bWritten) {
        std::fprintf(stderr, "qvdemo: Insert Data wrote nothing\n");
        return 4;
    }
    if (const int saved = SaveForScript(window, arguments[1]))
        return saved;
    PrintLine("header", driver.Header());
    for (const QStringList &row : driver.Rows())
        PrintLine("row", row);

    // The next Insert Data on the same data view starts with those rows ticked.
    TickedRowsDriver again;
    menu.InsertData(nullptr);
    if (!again.Done()) {
        std::fprintf(stderr, "qvdemo: the second Insert Data did not show its rows\n");
        return 4;
    }
    PrintLine("ticked-again", again.Ticked());
    std::fflush(stdout);
    return 0;
}

} // namespace

int RunScript(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu, DemoSmartTags &smartTags)
{
    const QString name = arguments.value(0);
    if (name != QLatin1String("insert-three-rows") && name != QLatin1String("view-data")
        && name != QLatin1String("manager") && name != QLatin1String("author-road")
        && name != QLatin1String("wizard-road") && name != QLatin1String("config-wizard")
        && name != QLatin1String("smart-tags") && name != QLatin1String("manager-drag")) {
        std::fprintf(stderr, "qvdemo: unknown script \"%s\"; known: insert-three-rows, view-data, manager, "
                             "author-road, wizard-road, config-wizard, smart-tags, manager-drag\n",
                     qPrintable(name));
        return 2;
    }
    menu.SetConsoleReports(true);
    if (name == QLatin1String("manager"))
        return ManagerScript(arguments, menu);
    if (name == QLatin1String("wizard-road"))
        return WizardRoad(arguments, menu);
    if (name == QLatin1String("config-wizard"))
        return ConfigWizardScript(arguments, menu);
    if (name == QLatin1String("smart-tags"))
        return SmartTagScript(arguments, window, menu, smartTags);
    if (name == QLatin1String("manager-drag"))
        return ManagerDragScript(arguments, menu);
    if (name == QLatin1String("author-road"))
        return AuthorRoad(arguments, window, menu);
    if (name == QLatin1String("view-data"))
        return ViewData(arguments, menu);
    return InsertThreeRows(arguments, window, menu);
}

} // namespace qvdemo
