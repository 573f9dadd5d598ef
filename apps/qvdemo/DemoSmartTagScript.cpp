// smart-tags OUTPUT PICTURES: smart tags as an author meets them.
// - A smart tag "Customer Smart Tag" is made through the Smart Tag Wizard
//   (a picture of each page): it recognizes the Name of "Sample Customers"
//   and offers "Insert customer" (a table with header). The editor notices
//   the save and builds the terms again.
// - "chloé o’neill" is typed into a sentence; the paragraph's layout must
//   mark exactly that span ("marked<TAB>span").
// - The context menu on the term lists the tag's actions ("menu<TAB>...");
//   "Insert customer" runs Insert Data filtered to the customer, every row
//   shown is ticked ("shown<TAB>N", "row<TAB>name") and inserted; the
//   document is saved as OUTPUT.
// Pictures of the marked document, the menu and the dialog go to PICTURES.

#include "DemoDataMenu.h"
#include "DemoScript.h"
#include "DemoSmartTagSteps.h"

#include "DemoSmartTags.h"
#include "DemoSteps.h"
#include "DemoWindow.h"
#include "SmartTagHighlighter.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/config/ConfigStore.h"
#include "qvuser/data/SmartTagRecognition.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTreeView>

#include <cstdio>
#include <exception>

namespace qvdemo {

namespace {

const QString kTagName = QStringLiteral("Customer Smart Tag");
const QString kAction = QStringLiteral("Insert customer");
const QString kTyped = QStringLiteral("chloé o’neill");

// Runs the event loop until the condition holds; false after kStepTimeoutMs.
bool WaitUntil(const std::function<bool()> &condition)
{
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || clock.elapsed() > kStepTimeoutMs)
            loop.quit();
    });
    poll.start(50);
    if (!condition())
        loop.exec();
    return condition();
}

// Made through the Smart Tag Wizard, as an author makes it.
bool MakeCustomerSmartTag(DemoDataMenu &menu, const QString &pictures)
{
    StepDriver wizard(SmartTagWizardSteps(pictures, QStringLiteral("Name"), QStringLiteral("Café Zoë"), kTagName),
                      "frmSmartTagWizard");
    StepDriver action(ActionDialogSteps(pictures, QStringLiteral("Sample Customers"), kAction), "frmAction");
    const qint32 id = menu.RunSmartTagWizard();
    Print({QStringLiteral("smart tag"), QString::number(id)});
    return id > 0 && wizard.Done() && action.Done();
}

bool TermsHaveTag(DemoSmartTags &smartTags)
{
    const auto terms = smartTags.Recognition().Terms();
    for (const auto &tag : terms->Tags()) {
        if (tag.Name == kTagName)
            return !smartTags.Recognition().Building();
    }
    return false;
}

// The marked span of the block at `start`, as the layout holds it; "" when none.
QString MarkedSpan(const QTextBlock &block, int start)
{
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (range.start == start && range.format.underlineStyle() == QTextCharFormat::DotLine
            && range.format.underlineColor() == SmartTagHighlighter::MarkFormat().underlineColor())
            return block.text().mid(range.start, range.length);
    }
    return {};
}

QList<StepDriver::Step> InsertSteps(const QString &pictures)
{
    return {{"the customer's rows show", [](QDialog &d) { return Rows(d) > 0 && Idle(d); },
             [pictures](QDialog &d) {
                 auto *list = Child<QTreeView>(d, "lvwItems");
                 Print({QStringLiteral("filter"), Child<QComboBox>(d, "cboField")->currentText(),
                        Child<QComboBox>(d, "cboParam")->currentText()});
                 Print({QStringLiteral("shown"), QString::number(Rows(d))});
                 for (int row = 0; row < Rows(d); ++row) {
                     list->model()->setData(list->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
                     Print({QStringLiteral("row"), list->model()->index(row, 2).data().toString()});
                 }
                 Picture(d, pictures + QStringLiteral("/smart-tag-insert-data.png"));
                 Press(d, "cmdOK");
             }}};
}

} // namespace

int SmartTagScript(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu, DemoSmartTags &smartTags)
{
    if (!ArgumentsFit(arguments, 3, "smart-tags OUTPUT PICTURES"))
        return 2;
    const QString pictures = arguments[2];
    QDir().mkpath(pictures);
    if (!MakeCustomerSmartTag(menu, pictures) || !WaitUntil([&] { return TermsHaveTag(smartTags); })) {
        std::fprintf(stderr, "qvdemo: the editor did not take up the new smart tag\n");
        return 4;
    }
    QTextEdit *editor = window.Editor();
    editor->clear();
    TypeText(editor, QStringLiteral("Please call ") + kTyped + QStringLiteral(" about the order."));
    const QTextBlock block = editor->document()->firstBlock();
    const int start = int(block.text().indexOf(kTyped));
    const QString marked = MarkedSpan(block, start);
    Print({QStringLiteral("marked"), marked});
    if (marked != kTyped)
        return 4;
    Picture(window, pictures + QStringLiteral("/smart-tag-marked.png"));

    QTextCursor inTerm(editor->document());
    inTerm.setPosition(block.position() + start + 3);
    const QPoint point = editor->cursorRect(inTerm).center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, editor->viewport()->mapToGlobal(point));
    QApplication::sendEvent(editor->viewport(), &request);
    QMenu *popup = nullptr;
    WaitUntil([&popup] { return (popup = Visible<QMenu>()) != nullptr; });
    QAction *insert = popup ? popup->findChild<QAction *>(QStringLiteral("mnuSmartTagAction1")) : nullptr;
    if (!insert) {
        std::fprintf(stderr, "qvdemo: the context menu offers no smart tag action\n");
        return 4;
    }
    Print({QStringLiteral("menu"), insert->text()});
    // The menu is a window of its own: drawn onto the editor's picture where it stands.
    QPixmap shot = window.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(window.mapFromGlobal(popup->pos()), popup->grab());
    }
    if (!shot.save(pictures + QStringLiteral("/smart-tag-menu.png"), "PNG"))
        std::fprintf(stderr, "qvdemo: the picture of the menu could not be written\n");

    // The rows go at the end of the paragraph, after the sentence.
    editor->moveCursor(QTextCursor::End);
    StepDriver driver(InsertSteps(pictures));
    insert->trigger();
    popup->close();
    if (!WaitUntil([&driver] { return driver.Done() && !Visible<QDialog>("frmSelectDataItems"); }))
        return 4;
    return SaveForScript(window, arguments[1]);
}

} // namespace qvdemo
