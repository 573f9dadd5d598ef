#include "ScriptedAnswers.h"

#include "qvuser/ui/Modal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>

namespace qvhostd {

namespace {

constexpr int kRowsTimeoutMs = 120000;

// Runs events until the condition holds or the time is up. The dialog runs
// its own modal loop, so the driver waits inside it.
template<typename Condition>
bool WaitFor(Condition condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    return condition();
}

QAbstractItemView *RowsList(QDialog &dialog)
{
    return dialog.findChild<QAbstractItemView *>(QStringLiteral("lvwItems"));
}

bool RowsIn(QDialog &dialog, int needed)
{
    QAbstractItemView *list = RowsList(dialog);
    return list && list->model()->rowCount() >= needed && dialog.cursor().shape() != Qt::BusyCursor
        && !QApplication::overrideCursor();
}

void Choose(QDialog &dialog, const char *combo, const QJsonValue &text)
{
    auto *box = dialog.findChild<QComboBox *>(QLatin1String(combo));
    if (!box || !text.isString())
        return;
    const int index = box->findText(text.toString());
    if (index < 0) {
        qWarning("qvhostd: %s has no entry \"%s\"", combo, qPrintable(text.toString()));
        return;
    }
    box->setCurrentIndex(index);
    emit box->activated(index);
}

bool Ticked(QAbstractItemView *list, int row)
{
    return list->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

// The texts of a row (the captions for row -1) in the columns the user sees,
// in screen order: what Insert Data hands back for it.
QJsonArray ShownTexts(QAbstractItemView *list, int row)
{
    QJsonArray texts;
    auto *tree = qobject_cast<QTreeView *>(list);
    if (!tree)
        return texts;
    QHeaderView *header = tree->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (column == 0 || header->isSectionHidden(column))
            continue; // the check-box column is not output
        texts.append(row < 0 ? list->model()->headerData(column, Qt::Horizontal).toString()
                             : list->model()->index(row, column).data().toString());
    }
    return texts;
}

void Log(QDialog &dialog, const QString &path, qint64 shownAt)
{
    if (path.isEmpty())
        return;
    QAbstractItemView *list = RowsList(dialog);
    QJsonArray ticked;
    QJsonArray shown;
    for (int row = 0; list && row < list->model()->rowCount(); ++row) {
        if (Ticked(list, row)) {
            ticked.append(row);
            shown.append(ShownTexts(list, row));
        }
    }
    const QJsonObject line{{QStringLiteral("dialog"), dialog.objectName()},
                           {QStringLiteral("caption"), dialog.windowTitle()},
                           {QStringLiteral("rows"), list ? list->model()->rowCount() : 0},
                           {QStringLiteral("header"), list ? ShownTexts(list, -1) : QJsonArray()},
                           {QStringLiteral("ticked"), ticked},
                           {QStringLiteral("shown"), shown},
                           {QStringLiteral("pid"), QCoreApplication::applicationPid()},
                           {QStringLiteral("shownAt"), double(shownAt)},
                           {QStringLiteral("rowsAt"), double(QDateTime::currentMSecsSinceEpoch())}};
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

void Work(QDialog &dialog, const QJsonObject &step)
{
    const qint64 shownAt = QDateTime::currentMSecsSinceEpoch();
    const QJsonArray ticks = step.value(QStringLiteral("tick")).toArray();
    int needed = RowsList(dialog) ? 1 : 0;
    for (const QJsonValue &row : ticks)
        needed = std::max(needed, row.toInt() + 1);
    if (!WaitFor([&] { return RowsIn(dialog, needed); }, kRowsTimeoutMs)) {
        qWarning("qvhostd: %s did not show %d rows in time", qPrintable(dialog.objectName()), needed);
        dialog.reject();
        return;
    }
    QAbstractItemView *list = RowsList(dialog);
    for (const QJsonValue &row : ticks)
        list->model()->setData(list->model()->index(row.toInt(), 0), Qt::Checked, Qt::CheckStateRole);
    Choose(dialog, "cboFormatType", step.value(QStringLiteral("layout")));
    Choose(dialog, "cboFormatStyle", step.value(QStringLiteral("style")));
    Choose(dialog, "cboInsertPosition", step.value(QStringLiteral("position")));
    Log(dialog, step.value(QStringLiteral("log")).toString(), shownAt);

    const QString press = step.value(QStringLiteral("press")).toString();
    QPointer<QDialog> guard(&dialog);
    if (press.isEmpty()) {
        WaitFor([&] { return !guard || !guard->isVisible(); }, kRowsTimeoutMs);
        return;
    }
    auto *button = dialog.findChild<QPushButton *>(press);
    if (!button || !WaitFor([&] { return button->isEnabled(); }, kRowsTimeoutMs)) {
        qWarning("qvhostd: %s has no enabled %s", qPrintable(dialog.objectName()), qPrintable(press));
        dialog.reject();
        return;
    }
    button->click();
}

} // namespace

int QueueSteps(const QJsonArray &steps)
{
    for (const QJsonValue &step : steps)
        qv::ui::modal_driver::Push([step = step.toObject()](QDialog &dialog) { Work(dialog, step); });
    return int(steps.size());
}

int QueueScript(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("the script %1 cannot be read: %2").arg(path, file.errorString());
        return 0;
    }
    QJsonParseError parse;
    const QJsonDocument script = QJsonDocument::fromJson(file.readAll(), &parse);
    if (!script.isArray()) {
        error = QStringLiteral("the script %1 is no JSON list of steps: %2").arg(path, parse.errorString());
        return 0;
    }
    return QueueSteps(script.array());
}

} // namespace qvhostd
