// The programs' version, in one place: the title bars, the version resource of both programs
// and the release package read it. Plain #defines so the resource compiler reads it too.
#pragma once

#define KO_VERSION_MAJOR 1
#define KO_VERSION_MINOR 0
#define KO_VERSION_PATCH 0
#define KO_VERSION_BUILD 0
#define KO_VERSION_TITLE "1.00"
