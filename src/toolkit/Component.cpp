#include "toolkit/Component.h"

#include <algorithm>

namespace zq {

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    FDestroying = true;
    // Tell everyone who asked, then free owned components last-created first.
    for (TComponent* c : std::vector<TComponent*>(FFreeNotifies)) {
        c->Notification(this, TOperation::opRemove);
        c->RemoveFreeNotification(this);
    }
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        delete child; // the child's destructor removes itself from FComponents
    }
}

void TComponent::InsertComponent(TComponent* child) {
    child->FOwner = this;
    FComponents.push_back(child);
    for (TComponent* c : FComponents)
        if (c != child)
            c->Notification(child, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* child) {
    auto it = std::find(FComponents.begin(), FComponents.end(), child);
    if (it == FComponents.end())
        return;
    FComponents.erase(it);
    child->FOwner = nullptr;
    NotifyRemoval(child);
}

void TComponent::NotifyRemoval(TComponent* removed) {
    Notification(removed, TOperation::opRemove);
    for (TComponent* c : std::vector<TComponent*>(FComponents))
        c->Notification(removed, TOperation::opRemove);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove)
        RemoveFreeNotification(component);
}

void TComponent::BeginLoading() {
    FLoading = true;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::LoadedTree() {
    for (TComponent* c : std::vector<TComponent*>(FComponents))
        c->LoadedTree();
    Loaded();
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end())
        FFreeNotifies.push_back(other);
    if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) ==
        other->FFreeNotifies.end())
        other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other),
                        FFreeNotifies.end());
}

} // namespace zq
