// Control ids on widgets: the dynamic property "controlId" by which tables, the frame and tests find them.
#pragma once

#include <QObject>
#include <QWidget>

inline constexpr const char* kControlIdProperty = "controlId";

inline void SetControlId(QObject* object, int id) {
  object->setProperty(kControlIdProperty, id);
}

inline int ControlIdOf(const QObject* object) {
  const QVariant id = object->property(kControlIdProperty);
  return id.isValid() ? id.toInt() : 0;
}

// The first descendant of `root` (any depth) of type T that carries `id`, or nullptr.
template <typename T = QWidget>
T* FindByControlId(const QObject* root, int id) {
  for (T* child : root->findChildren<T*>()) {
    if (ControlIdOf(child) == id) {
      return child;
    }
  }
  return nullptr;
}
