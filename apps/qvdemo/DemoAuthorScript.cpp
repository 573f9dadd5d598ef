#include "DemoAuthorScript.h"

#include "DemoDataMenu.h"
#include "DemoSteps.h"
#include "DemoWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeView>

#include <cstdio>
#include <functional>

namespace qvdemo {

namespace {

void Tick(QDialog &dialog, int rows)
{
    auto *list = Child<QTreeView>(dialog, "lvwItems");
    for (int row = 0; row < rows; ++row)
        list->model()->setData(list->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

bool FilterButtonReads(QDialog &dialog, const char *caption)
{
    return Child<QPushButton>(dialog, "cmdApplyFilter")->text() == QLatin1String(caption) && Idle(dialog);
}

QAbstractButton *LocateButton()
{
    auto *box = Visible<QMessageBox>();
    for (QAbstractButton *button : box ? box->buttons() : QList<QAbstractButton *>()) {
        if (button->text() == QLatin1String("&Locate..."))
            return button;
    }
    return nullptr;
}

QList<StepDriver::Step> MovedSourceSteps(const QString &pictures, const QString &moved)
{
    return {
        {"the first data view shows", [](QDialog &d) { return Idle(d); },
         [](QDialog &d) { ChooseText(d, "icboDataView", QStringLiteral("Sample Price List")); }},
        {"the error offers Locate...",
         [](QDialog &) { return LocateButton() != nullptr; },
         [pictures](QDialog &) {
             Picture(*Visible<QMessageBox>(), pictures + QStringLiteral("/moved-source-error.png"));
             LocateButton()->click();
         }},
        {"the file dialog opens", [](QDialog &) { return Visible<QFileDialog>() != nullptr; },
         [moved](QDialog &) {
             QFileDialog *files = Visible<QFileDialog>();
             files->selectFile(moved);
             static_cast<QDialog *>(files)->accept(); // public there, protected in QFileDialog
         }},
        {"the located workbook's rows show", [](QDialog &d) { return Rows(d) > 0 && Idle(d); },
         [pictures](QDialog &d) {
             Print({QStringLiteral("located"), QString::number(Rows(d))});
             Picture(d, pictures + QStringLiteral("/moved-source-located.png"));
             ChooseText(d, "icboDataView", QStringLiteral("Sample Customers"));
         }},
    };
}

QList<StepDriver::Step> FilterSteps(const QString &pictures)
{
    return {
        {"the customers show",
         [](QDialog &d) {
             return Child<QComboBox>(d, "icboDataView")->currentText() == QLatin1String("Sample Customers") && Idle(d);
         },
         [](QDialog &d) {
             ChooseText(d, "cboField", QStringLiteral("City"));
             auto *value = Child<QComboBox>(d, "cboParam");
             value->setFocus();
             value->setEditText(QStringLiteral("Riga"));
             Key(value, Qt::Key_Return);
         }},
        {"Enter filters", [](QDialog &d) { return FilterButtonReads(d, "Remove &Filter"); },
         [pictures](QDialog &d) {
             Print({QStringLiteral("filtered"), QString::number(Rows(d))});
             Picture(d, pictures + QStringLiteral("/filter-applied.png"));
             Press(d, "cmdApplyFilter");
         }},
        {"Remove shows every row", [](QDialog &d) { return FilterButtonReads(d, "Apply &Filter"); },
         [](QDialog &d) {
             Print({QStringLiteral("unfiltered"), QString::number(Rows(d))});
             Child<QComboBox>(d, "cboParam")->setEditText(QStringLiteral("Leeds"));
             Press(d, "cmdApplyFilter");
         }},
        {"a new filter replaces it", [](QDialog &d) { return FilterButtonReads(d, "Remove &Filter"); },
         [](QDialog &d) { Print({QStringLiteral("replaced"), QString::number(Rows(d))}); }},
    };
}

// Ticks two rows, picks the layout and presses OK; the picture is the README's.
StepDriver::Step InsertStep(int layout, const QString &picture)
{
    return {"rows to insert", [](QDialog &d) { return Rows(d) > 1 && Idle(d); },
            [layout, picture](QDialog &d) {
                Tick(d, 2);
                auto *layouts = Child<QComboBox>(d, "cboFormatType");
                Choose(layouts, layout);
                Print({QStringLiteral("inserted"), layouts->currentText(), QStringLiteral("2")});
                if (!picture.isEmpty())
                    Picture(d, picture);
                Press(d, "cmdOK");
            }};
}

} // namespace

int AuthorRoad(const QStringList &arguments, DemoWindow &window, DemoDataMenu &menu)
{
    if (!ArgumentsFit(arguments, 4, "author-road OUTPUT PICTURES MOVED_WORKBOOK"))
        return 2;
    const QString pictures = QDir(arguments[2]).absolutePath();
    window.Editor()->setPlainText(QStringLiteral("Customers in Leeds:"));
    window.Editor()->moveCursor(QTextCursor::End);

    QList<StepDriver::Step> steps = MovedSourceSteps(pictures, arguments[3]);
    steps += FilterSteps(pictures);
    steps.append(InsertStep(2, pictures + QStringLiteral("/insert-data-dialog.png")));
    StepDriver first(steps);
    if (!menu.InsertData(nullptr) || !first.Done())
        return 4;
    // The other four layouts, each in an Insert Data of its own.
    for (int layout : {0, 1, 3, 4}) {
        StepDriver next({InsertStep(layout, {})});
        if (!menu.InsertData(nullptr) || !next.Done())
            return 4;
    }
    return SaveForScript(window, arguments[1]);
}

} // namespace qvdemo
