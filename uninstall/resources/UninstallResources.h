// The uninstaller's compiled-in resources (generated from uninstall.res.txt).
#pragma once

#include "support/ResourceModule.h"

const ResourceModule& UninstallResources();
