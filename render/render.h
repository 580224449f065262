#pragma once
// Label content drawing in one include.
#include "render/barcode.h"
#include "render/fieldsource.h"
#include "render/hosts.h"
#include "render/labelobjects.h"
#include "render/libraries.h"
#include "render/pictures.h"
