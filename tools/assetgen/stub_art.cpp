#include "tools/assetgen/art.h"
namespace assetgen {
Canvas MakePatterns() { return Canvas(320, 32); }
}
