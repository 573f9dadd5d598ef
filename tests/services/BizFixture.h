#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Each test gets its own registry and data folder; child processes inherit both.
class BizTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.isValid() && m_data.isValid());
        m_oldRegistry = qgetenv("QV_REGISTRY_ROOT");
        qputenv("QV_REGISTRY_ROOT", m_registry.path().toLocal8Bit());
        qputenv("QV_DATA_ROOT", m_data.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("QV_REGISTRY_ROOT", m_oldRegistry);
        qunsetenv("QV_DATA_ROOT");
    }
    QString DataPath(const QString &name) const { return m_data.filePath(name); }

private:
    QTemporaryDir m_registry, m_data;
    QByteArray m_oldRegistry;
};
