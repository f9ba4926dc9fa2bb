#pragma once
// A published property that keeps its detected value: the getter reads the field F<name>,
// the setter ignores what is written.
#define ZQ_READONLY_PROPERTY(type, name)                                                           \
    type name() const {                                                                            \
        return F##name;                                                                            \
    }                                                                                              \
    void Set##name(type) {}
