#pragma once
// In-process registry lookups on a scratch registry: the runtime search's
// process-wide settings at known values (minimum 1.4, javaw.exe, a marker
// home), restored afterwards, with the log captured.
#include <string>

#include <gtest/gtest.h>

#include "framework/CString.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchRegistry.h"

class RegistryLookupFixture : public testing::Test {
protected:
    // folderName: the test's temp folder under build\tmp.
    explicit RegistryLookupFixture(const char* folderName) : m_folderName(folderName) {}
    void SetUp() override;
    void TearDown() override;

    ScratchRegistry m_registry;
    LogCapture m_log;
    std::string m_folder;

private:
    const char* m_folderName;
    CString m_savedMinimum, m_savedExeName, m_savedHome;
};
