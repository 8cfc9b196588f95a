#include "tests/support/RegistryLookupFixture.h"

#include "base/Globals.h"
#include "tests/support/Paths.h"

void RegistryLookupFixture::SetUp() {
    ASSERT_TRUE(m_registry.IsReady());
    m_folder = MakeTempFolder(m_folderName);
    m_savedMinimum = g_minJavaVersion;
    m_savedExeName = g_javaExeName;
    m_savedHome = g_runtimeHome;
    g_minJavaVersion = "1.4";
    g_javaExeName = "javaw.exe";
    g_runtimeHome = "untouched";
}

void RegistryLookupFixture::TearDown() {
    g_minJavaVersion = m_savedMinimum;
    g_javaExeName = m_savedExeName;
    g_runtimeHome = m_savedHome;
}
