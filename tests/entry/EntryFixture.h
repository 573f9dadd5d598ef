#pragma once

#include "automation/ComError.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include "TestMain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

// Installs the message box recorder and the file dialog double, and leaves
// no modal driver behind.
class EntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearCurrentError();
        ui::modal_driver::Clear();
        m_previousBoxes = ui::SetMessageBoxHandler(Boxes);
        m_previousFiles = ui::SetFileDialogService(Files);
    }
    void TearDown() override
    {
        EXPECT_EQ(ui::modal_driver::Pending(), 0) << "a dialog the test expected was never shown";
        EXPECT_EQ(ui::modal_driver::LeftOpen(), 0) << "a driver left its dialog open";
        ui::modal_driver::Clear();
        ui::SetMessageBoxHandler(m_previousBoxes);
        ui::SetFileDialogService(m_previousFiles);
    }

    std::shared_ptr<ui::MessageRecorder> Boxes = std::make_shared<ui::MessageRecorder>();
    std::shared_ptr<ui::FileDialogDouble> Files = std::make_shared<ui::FileDialogDouble>();

private:
    std::shared_ptr<ui::MessageBoxHandler> m_previousBoxes;
    std::shared_ptr<ui::FileDialogService> m_previousFiles;
};

// Runs `call`, which must throw a ComError, and answers it.
template<typename Call>
ComError ErrorOf(Call call)
{
    try {
        call();
    } catch (const ComError &error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return ComError(0, QString(), QString());
}

} // namespace qv::test
