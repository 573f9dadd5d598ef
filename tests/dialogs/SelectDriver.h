#pragma once

#include "DialogsFixture.h"
#include "dialogs/frmSelectDataItems.h"

#include "ado/Recordset.h"
#include "biz/Settings.h"
#include "viewer/ctlDataViewer.h"

#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTreeView>

namespace qv::test {

using SelectRequest = dialogs::SelectDataRequest;

// Runs the dialog through the same helper DVUser uses, with the driver,
// which gets the dialog once its first rows are shown.
inline int RunSelect(frmSelectDataItems &form, const SelectRequest &request,
                     const std::function<void(frmSelectDataItems &)> &driver)
{
    ui::modal_driver::Push([driver](QDialog &dialog) {
        auto &select = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(select));
        driver(select);
    });
    const dialogs::SelectDataResult &answer = RunSelectData(form, request);
    return answer.Cancelled() ? QDialog::Rejected : QDialog::Accepted;
}

// A host's list of style names.
inline std::shared_ptr<Collection> Styles(const QStringList &names)
{
    auto styles = std::make_shared<Collection>();
    for (const QString &name : names)
        styles->Add(Variant(name));
    return styles;
}

inline ctlDataViewer *Viewer(QWidget &form)
{
    return Child<ctlDataViewer>(form, "ctlDataViewer");
}

inline QTreeView *List(QWidget &form)
{
    return Child<QTreeView>(form, "lvwItems");
}

inline QString Status(QWidget &form)
{
    return Child<QStatusBar>(form, "sbrStatusBar")->currentMessage();
}

inline QPushButton *Button(QWidget &form, const char *name)
{
    return Child<QPushButton>(form, name);
}

inline void Click(QWidget &form, const char *name)
{
    QPushButton *button = Button(form, name);
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void TickRow(QWidget &form, int row)
{
    QTreeView *list = List(form);
    list->scrollTo(list->model()->index(row, 0));
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(list->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

inline QStringList Texts(ado::Recordset &rs, const QString &field)
{
    QStringList texts;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        texts << rs.Fields().Item(field).Value().ToText();
    return texts;
}

} // namespace qv::test
