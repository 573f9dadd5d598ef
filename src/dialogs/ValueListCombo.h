#pragma once

#include <QComboBox>

#include <functional>

namespace qv::dialogs {

// An editable combo that tells its owner just before its list drops down,
// so that the list can be fetched on demand.
class ValueListCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> OnOpening;

    void showPopup() override
    {
        if (OnOpening)
            OnOpening();
        QComboBox::showPopup();
    }
};

} // namespace qv::dialogs
