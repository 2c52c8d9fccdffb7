// The design program's compiled-in resources (generated from resources/zarnel.res.txt).
#pragma once

#include "support/ResourceModule.h"

const ResourceModule& ZarnelResources();
