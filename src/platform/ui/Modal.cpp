#include "Modal.h"

#include <QPointer>
#include <QQueue>
#include <QTimer>

namespace qv::ui {
namespace {

struct DriverQueue
{
    QQueue<ModalDriver> Drivers;
    int LeftOpen = 0;
};

DriverQueue &Queue()
{
    thread_local DriverQueue queue;
    return queue;
}

} // namespace

int RunModal(QDialog &dialog)
{
    DriverQueue &queue = Queue();
    if (queue.Drivers.isEmpty())
        return dialog.exec();
    ModalDriver driver = queue.Drivers.dequeue();
    QPointer<QDialog> guard(&dialog);
    // The timer fires inside exec(), once the dialog is shown.
    QTimer::singleShot(0, &dialog, [guard, driver = std::move(driver)]() {
        if (!guard)
            return;
        driver(*guard);
        if (guard && guard->isVisible()) {
            ++Queue().LeftOpen;
            guard->reject();
        }
    });
    return dialog.exec();
}

namespace modal_driver {

void Push(ModalDriver driver)
{
    Queue().Drivers.enqueue(std::move(driver));
}

int Pending()
{
    return int(Queue().Drivers.size());
}

void Clear()
{
    Queue() = DriverQueue{};
}

int LeftOpen()
{
    return Queue().LeftOpen;
}

} // namespace modal_driver

} // namespace qv::ui
