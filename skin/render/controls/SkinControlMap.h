#pragma once
// Gives the controls of a skinned window their skin objects: the
// components of a form by their classes (and the store's Skin3rd lines and
// OnSkinControl event), the child windows of a raw dialog by their window
// classes and styles.

#include "skin/render/controls/SkinControlRules.h"

#include <windows.h>

namespace orbelin {

class TComponent;
class TSkinControl;
class TSkinControlList;
class TSkinData;
class TWinControl;

// Where the skin objects of one window go: the list that keeps them, the
// component (the frame) named as the sender of the store's OnSkinControl
// event, and the window's form (null for a raw window).
struct TControlSkinning {
    TSkinControlList& Controls;
    TComponent& Sender;
    TSkinData& Store;
    const TComponent* Form = nullptr;
};

// Walks the controls of container (and of those the mapping walks into).
void SkinComponentControls(const TControlSkinning& target, TWinControl& container);
// A raw child window of a dialog; one that has a skin object is left alone.
void SkinRawChild(const TControlSkinning& target, HWND window);
// Every child window of a raw window (a dialog), as it stands now.
void SkinRawChildren(const TControlSkinning& target, HWND window);
// A new skin object of a kind for subject (null for a raw window), for the
// list to keep; null for a kind without one.
TSkinControl* CreateSkinObject(TSkinKind kind, TComponent* subject);
// What the mapping sees of a component.
TControlTraits TraitsOf(TComponent& component);

} // namespace orbelin
