#pragma once

// Shared by the empty dialog's resource script and its program.
#define IDD_EMPTY 100
