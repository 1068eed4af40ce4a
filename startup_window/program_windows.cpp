#include "startup_window/program_windows.h"

#include "lifecycle/lifecycle_state.h"

ProgramWindow* AddProgramWindow(const WindowTemplate& source) {
  for (ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source == nullptr) {
      record = ProgramWindow{};
      record.source = &source;
      return &record;
    }
  }
  return nullptr;
}

void FreeProgramWindow(ProgramWindow& record) {
  record.window.Release();
  record = ProgramWindow{};
}

ProgramWindow* FindProgramWindow(WindowHandle window) {
  if (window == kNoWindow) return nullptr;
  for (ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source != nullptr && record.window.get() == window) return &record;
  }
  return nullptr;
}

ProgramWindow* FindLoadedTemplate(ControlId templateId) {
  for (ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source != nullptr && record.source->id == templateId) return &record;
  }
  return nullptr;
}

ProgramWindow* FindControlOwner(WindowHandle control, const LoadedControl** found) {
  if (control == kNoWindow) return nullptr;
  for (ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source == nullptr || record.window.get() == kNoWindow) continue;
    for (int i = 0; i < record.controlCount; ++i) {
      if (record.controls[i].handle == control) {
        *found = &record.controls[i];
        return &record;
      }
    }
  }
  return nullptr;
}

int CountProgramWindows() {
  int count = 0;
  for (const ProgramWindow& record : Lifecycle().windows.records) {
    if (record.source != nullptr && record.window.get() != kNoWindow) ++count;
  }
  return count;
}

const Element* FindElement(const WindowTemplate& source, ControlId elementId) {
  for (int i = 0; i < source.elementCount; ++i) {
    if (source.elements[i].id == elementId) return &source.elements[i];
  }
  return nullptr;
}
