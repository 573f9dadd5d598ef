#include "DemoScript.h"

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

// Waits until Insert Data shows at least three rows, then hands the dialog
// to Work. Polls, since the dialog runs its own modal loop.
class InsertDataDriver : public QObject
{
public:
    InsertDataDriver()
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
        m_timer.start(100);
    }
    bool Done() const { return m_done; }

protected:
    virtual void Work(QDialog *dialog, QTreeView *list) = 0;
    void Press(QDialog *dialog, const char *button)
    {
        auto *target = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
        if (!target) {
            std::fprintf(stderr, "qvdemo: Insert Data has no %s button\n", button);
            dialog->reject();
            return;
        }
        m_done = true;
        target->click();
    }

private:
    void Step()
    {
        QDialog *dialog = VisibleDialog("frmSelectDataItems");
        if (m_clock.elapsed() > kTimeoutMs) {
            m_timer.stop();
            std::fprintf(stderr, "qvdemo: Insert Data did not show three rows in time\n");
            if (dialog)
                dialog->reject();
            return;
        }
        auto *list = dialog ? dialog->findChild<QTreeView *>(QStringLiteral("lvwItems")) : nullptr;
        if (!list || list->model()->rowCount() < 3)
            return;
        m_timer.stop();
        Work(dialog, list);
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_done = false;
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

int InsertThreeRows(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu)
{
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fprintf(stderr, "usage: qvdemo --script insert-three-rows OUTPUT [SCREENSHOT]\n");
        return 2;
    }
    auto oDataView = menu.FindDataView(QStringLiteral("Sample Customers"));
    if (!oDataView) {
        std::fprintf(stderr, "qvdemo: the personal configuration has no data view \"Sample Customers\"\n");
        return 2;
    }
    window.Editor()->setPlainText(QStringLiteral("Our three customers:"));
    window.Editor()->moveCursor(QTextCursor::End);

    ThreeRowsDriver driver(arguments.value(2));
    const bool bWritten = menu.InsertData(oDataView);
    if (!driver.Done() || !bWritten) {
        std::fprintf(stderr, "qvdemo: Insert Data wrote nothing\n");
        return 4;
    }
    QString error;
    if (!window.SaveDocument(arguments[1], error)) {
        std::fprintf(stderr, "qvdemo: %s\n", qPrintable(error));
        return 5;
    }
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

int RunScript(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu)
{
    if (arguments.value(0) != QLatin1String("insert-three-rows")) {
        std::fprintf(stderr, "qvdemo: unknown script \"%s\"; known: insert-three-rows\n",
                     qPrintable(arguments.value(0)));
        return 2;
    }
    if (!DemoDataMenu::Available()) {
        std::fprintf(stderr, "qvdemo: this build has no Insert Data (configure with -DQVDEMO_HAS_INSERT_DATA=ON)\n");
        return 3;
    }
    menu.SetConsoleReports(true);
    return InsertThreeRows(arguments, window, menu);
}

} // namespace qvdemo
