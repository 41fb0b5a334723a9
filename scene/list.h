// The intrusive, doubly linked, newest-first lists of the World's elements.
#pragma once

template <class T>
void PushHead(T*& head, T* element) {
  element->prev = nullptr;
  element->next = head;
  if (head) head->prev = element;
  head = element;
}

template <class T>
void Unlink(T*& head, T* element) {
  if (head == element) {
    head = element->next;
    if (head) head->prev = nullptr;
  } else {
    if (element->prev) element->prev->next = element->next;
    if (element->next) element->next->prev = element->prev;
  }
  element->prev = element->next = nullptr;
}
