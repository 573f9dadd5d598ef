#pragma once

#include "DataViewWizardState.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace qv {
class FetchRunner;
}
namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config
namespace qv::data {
class DataViewDataServices;
}

namespace qv::wizard {

// What the wizard's pages share. The frame owns it; the template page may
// replace View (a copy of a template), so a page reads it when it acts and
// never keeps its own pointer to the data view.
struct WizardContext
{
    std::shared_ptr<config::ConfigStore> Store;
    std::shared_ptr<config::DataView> View; // the working data view, in Store
    DataViewWizardState *State = nullptr;
    data::DataViewDataServices *Services = nullptr;
    FetchRunner *Fetch = nullptr; // one job at a time for the whole wizard
    QWidget *Window = nullptr;    // the wizard: parent of its message boxes
};

// One page of the Data View Wizard, laid over the others in the frame's
// body. The frame decides the sequence (DataViewWizardState); a page fills
// itself from the working data view, takes input and writes it back.
class WizardPage : public QWidget
{
    Q_OBJECT

public:
    WizardPage(WizardContext &context, QWidget *parent) : QWidget(parent), m_context(context) {}

    // The page is about to show, reached in that direction; `reload` says
    // the data view's source, item or template changed since it was filled.
    virtual void Enter(Direction eDirection, bool bReload) = 0;
    // Checks the page and writes it into the working data view; false keeps
    // the page (the page has said why).
    virtual bool Commit(Direction eDirection) = 0;
    // Writes the page's lists into the data view without asking (Back, Preview).
    virtual void WriteBack() {}
    // The control that gets the focus when the page shows or a check fails.
    virtual QWidget *FocusControl() const = 0;
    // Enables the page's own controls from its contents; tells nobody (the
    // frame calls it while it sets its buttons).
    virtual void RefreshControls() {}
    // Whether the frame may offer Next (and Finish for an existing data view).
    virtual bool CanGoNext() const { return true; }

signals:
    // The page's contents changed what the buttons offer.
    void ButtonsMayChange();
    // A double-click that acts as Next.
    void NextRequested();

protected:
    WizardContext &Context() const { return m_context; }
    // The page's contents changed: its controls follow, then the frame's buttons.
    void ControlsChanged()
    {
        RefreshControls();
        emit ButtonsMayChange();
    }
    // The user changed the page: cancelling now asks first.
    void Touched()
    {
        if (m_context.State)
            m_context.State->MarkChanged();
        ControlsChanged();
    }

private:
    WizardContext &m_context;
};

} // namespace qv::wizard
