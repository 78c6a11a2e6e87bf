#include "platform/path_style.h"

PathStyle NativePathStyle()
{
    return {'/', false, "/"};
}

bool IsHiddenOrSystem(const std::filesystem::path&)
{
    // Here a hidden entry is one whose name starts with a dot.
    return false;
}
