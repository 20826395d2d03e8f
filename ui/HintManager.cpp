#include "ui/HintManager.h"

THintManager::THintManager(QObject* parent) : QObject(parent) {}
THintManager::~THintManager() = default;
void THintManager::SetOnHint(std::function<void()> handler) {
  onHint_ = std::move(handler);
}
