// The data viewer's look: colours, font, help id, check boxes, selection
// display and the persisted properties.
#include "ctlDataViewer.h"

#include "ui/HelpService.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>

namespace qv {

void ctlDataViewer::resizeEvent(QResizeEvent *oEvent)
{
    QWidget::resizeEvent(oEvent);
    lvwItems->setGeometry(rect());
    txtDummy->setGeometry(rect());
    UpdateEmptyLine();
}

int ctlDataViewer::HeightForRows(int lRows) const
{
    const int lRowHeight = lvwItems->sizeHintForRow(0) > 0 ? lvwItems->sizeHintForRow(0) : fontMetrics().height() + 4;
    const int lScrollBar = lvwItems->horizontalScrollBar()->isVisible() ? lvwItems->horizontalScrollBar()->height() : 0;
    return lvwItems->header()->height() + lRows * lRowHeight + 2 * lvwItems->frameWidth() + lScrollBar;
}

void ctlDataViewer::SetEmptyText(const QString &sText)
{
    m_sEmptyText = sText;
    UpdateEmptyLine();
}

// The line sits where the first row would, across the visible width; only a
// data view that loaded and has no rows shows it.
void ctlDataViewer::UpdateEmptyLine()
{
    const bool bShow = m_bHasDisplayRows && m_oModel->rowCount() == 0 && !m_sEmptyText.isEmpty();
    lblEmpty->setText(m_sEmptyText);
    lblEmpty->setVisible(bShow);
    if (!bShow)
        return;
    const QWidget *oViewport = lvwItems->viewport();
    const int lHeight = 2 * lblEmpty->fontMetrics().height();
    lblEmpty->setGeometry(0, 0, oViewport->width(), std::min(lHeight, oViewport->height()));
}

void ctlDataViewer::changeEvent(QEvent *oEvent)
{
    QWidget::changeEvent(oEvent);
    if (oEvent->type() == QEvent::EnabledChange) {
        ApplyColors();
        m_bPropertiesChanged = true;
    }
}

// A disabled control shows the button face; its own colour comes back when
// it is enabled again.
void ctlDataViewer::ApplyColors()
{
    const QColor oBack = isEnabled() ? m_oBackColor : palette().color(QPalette::Button);
    for (QWidget *oWidget : {static_cast<QWidget *>(lvwItems), static_cast<QWidget *>(txtDummy)}) {
        QPalette oPalette = oWidget->palette();
        oPalette.setColor(QPalette::Base, oBack);
        oPalette.setColor(QPalette::Text, m_oForeColor);
        oWidget->setPalette(oPalette);
    }
}

void ctlDataViewer::SetBackColor(const QColor &oColor)
{
    m_oBackColor = oColor;
    m_bPropertiesChanged = true;
    ApplyColors();
}

void ctlDataViewer::SetForeColor(const QColor &oColor)
{
    m_oForeColor = oColor;
    m_bPropertiesChanged = true;
    ApplyColors();
}

QFont ctlDataViewer::Font() const
{
    return lvwItems->font();
}

void ctlDataViewer::SetFont(const QFont &oFont)
{
    lvwItems->setFont(oFont);
    m_bPropertiesChanged = true;
}

int ctlDataViewer::LVWhatsThisHelpID() const
{
    return ui::WhatsThisHelpId(lvwItems);
}

void ctlDataViewer::SetLVWhatsThisHelpID(int lHelpId)
{
    ui::SetWhatsThisHelpId(lvwItems, lHelpId);
    ui::SetWhatsThisHelpId(txtDummy, lHelpId);
}

void ctlDataViewer::SetCheckBoxes(bool bCheckBoxes)
{
    m_bCheckBoxes = bCheckBoxes;
    m_bPropertiesChanged = true;
    m_oModel->SetCheckBoxes(bCheckBoxes);
    if (m_oModel->columnCount() > 0)
        lvwItems->header()->setSectionHidden(0, !bCheckBoxes);
}

QVariantMap ctlDataViewer::WriteProperties() const
{
    return {{QStringLiteral("BackColor"), m_oBackColor},
            {QStringLiteral("ForeColor"), m_oForeColor},
            {QStringLiteral("Enabled"), isEnabled()},
            {QStringLiteral("Font"), Font()},
            {QStringLiteral("CheckBoxes"), m_bCheckBoxes}};
}

void ctlDataViewer::ReadProperties(const QVariantMap &colBag)
{
    const QPalette oSystem = QApplication::palette(this);
    const QFont oAmbient = parentWidget() ? parentWidget()->font() : QApplication::font(this);
    SetBackColor(colBag.value(QStringLiteral("BackColor"), oSystem.color(QPalette::Base)).value<QColor>());
    SetForeColor(colBag.value(QStringLiteral("ForeColor"), oSystem.color(QPalette::ButtonText)).value<QColor>());
    SetEnabled(colBag.value(QStringLiteral("Enabled"), true).toBool());
    SetFont(colBag.value(QStringLiteral("Font"), oAmbient).value<QFont>());
    SetCheckBoxes(colBag.value(QStringLiteral("CheckBoxes"), true).toBool());
    m_bPropertiesChanged = false;
}

void ctlDataViewer::SetHideSelection(bool bHideSelection)
{
    m_bHideSelection = bHideSelection;
    lvwItems->setSelectionMode(bHideSelection ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    if (bHideSelection)
        lvwItems->selectionModel()->clearSelection();
}

} // namespace qv
