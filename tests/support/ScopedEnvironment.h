#pragma once
// Environment variables of the test process set for one test and put back
// as they were afterwards, so that no test sees another's machine picture.
#include <string>
#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment();
    // value nullptr removes the variable.
    void Set(const char* name, const char* value);

private:
    struct Saved {
        std::string name;
        bool wasSet;
        std::string value;
    };
    std::vector<Saved> m_saved;
};

// Points every variable the runtime search reads for its folder and PATH
// sources at an empty folder below root, so that only what a test creates
// there is found.
void IsolateRuntimeFolders(ScopedEnvironment& environment, const std::string& root);
