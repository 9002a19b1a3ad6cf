#include "skin/data/SkinRecords.h"

#include "skin/data/SkinHost.h"

namespace orbelin {

void TSkinBrush::Recreate(TColor color)
{
    Release();
    FColor = color;
    FExists = true;
    if (const auto& create = SkinBrushHooks().Create)
        FHandle = create(color);
}

void TSkinBrush::Release()
{
    if (FExists && FHandle != 0)
        if (const auto& destroy = SkinBrushHooks().Destroy)
            destroy(FHandle);
    FHandle = 0;
    FExists = false;
}

TSkinRecords::TSkinRecords()
    : Title(std::make_unique<TDataSkinTitle>("Title")), Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")), BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")), BorderBottom(std::make_unique<TDataSkinBorder>("Bottom"))
{
}

} // namespace orbelin
