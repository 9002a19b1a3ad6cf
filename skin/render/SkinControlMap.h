#pragma once
// Gives the controls of a skinned window their skin objects: the
// components of a form by their classes (and the store's Skin3rd lines and
// OnSkinControl event), the child windows of a raw dialog by their window
// classes and styles.

#include "skin/render/SkinControlRules.h"

#include <windows.h>

namespace orbelin {

class TComponent;
class TSkinControl;
class TSkinData;
class TSkinFrame;
class TWinControl;

// Walks the controls of container (and of those the mapping walks into).
void SkinComponentControls(TSkinFrame& frame, TWinControl& container, TSkinData& store);
// A raw child window of the frame's dialog; one that has a skin object is left alone.
void SkinRawChild(TSkinFrame& frame, HWND window, TSkinData& store);
// A new skin object of a kind, owned by owner; null for a kind without one.
TSkinControl* CreateSkinObject(TSkinKind kind, TComponent* owner);
// What the mapping sees of a component.
TControlTraits TraitsOf(TComponent& component);

} // namespace orbelin
