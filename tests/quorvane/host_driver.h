// host_driver.h: the host run from outside (tools/hostdriver), with a folder of its own for each test and
// panel files written and read as the host writes and reads them.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "apps/quorvane/files.h"
#include "apps/quorvane/quorvane.h"
#include "apps/quorvane/panel_file.h"
#include "apps/quorvane/store.h"
#include "engine/game.h"
#include "tests/common/hands.h"
#include "tests/common/host_probe.h"

// A folder of its own for one test, emptied first: <temp>\quorvane-tests\<name>.
std::string FreshTestFolder(const std::string &name);


// The store of the panel at path (path may name an older host's text file: its store beside it), read as a
// snapshot while a host may run; written anew, as a host with this panel would leave it.
SavedPanel ReadPanel(const std::string &path, PanelFileReport *report);
bool WritePanel(const std::string &path, const SavedPanel &panel);

SavedTool PokerTool(int x, int y, int width, int height, const VideoPokerGame &game);
