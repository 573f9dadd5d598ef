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

// The options a host passes with an Insert Data request, with their defaults.
struct SelectRequest
{
    std::shared_ptr<config::DataView> view;
    std::shared_ptr<biz::Settings> settings;
    std::shared_ptr<Collection> tableStyles;
    std::shared_ptr<Collection> paragraphStyles;
    qint32 type = 1;
    qint32 displayParam = -1;
    bool forceDataView = false;
    bool showSave = true;
    QString selectedRowsXML;
    bool offline = false;
};

// Sets the dialog up as an Insert Data request does (properties in their
// order, SetDataView, Prepare) and shows it through the modal helper with
// the driver, which gets the dialog once its first rows are shown.
inline int RunSelect(frmSelectDataItems &form, SelectRequest &request,
                     const std::function<void(frmSelectDataItems &)> &driver)
{
    form.SetSettings(request.settings);
    form.SetParagraphStyles(request.paragraphStyles);
    form.SetTableStyles(request.tableStyles);
    form.SetForceDataView(request.forceDataView);
    form.SetShowFormatControls(true);
    form.SetShowSave(request.showSave);
    form.SetCheckBoxes(true);
    form.SetDataViewParameterId(request.displayParam);
    form.SetSelectedRowsXML(request.selectedRowsXML);
    form.SetDisableMenus(false);
    form.SetDisableSavedSettingsRestore(!request.showSave);
    form.SetDisableColReorder(false);
    form.SetFormCaption(QStringLiteral("Insert Data"));
    form.SetOffline(request.offline);
    form.SetFormatType(2);
    form.SetInsertPosition(2);
    if (!request.view) {
        std::shared_ptr<config::DataView> none;
        form.SetDataView(none, request.type);
        form.SetForceDataView(true);
    } else {
        form.SetDataView(request.view, request.type);
    }
    form.Prepare();
    ui::modal_driver::Push([driver](QDialog &dialog) {
        auto &select = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(select));
        driver(select);
    });
    return ui::RunModal(form);
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
