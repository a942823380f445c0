#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The screen is photographed by the test script, outside Wine. The driver asks for a picture
// by creating "<name>.request" in the folder both share and waits until the script answers
// with "<name>.done". False if no answer came within the time limit.
bool RequestScreenshot(const std::string& folder, const std::string& name, DWORD timeoutMs);

}  // namespace e2e
