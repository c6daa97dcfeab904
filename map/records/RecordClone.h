#pragma once

#include <memory>

// Declares the copy operation of a record class inside a record family: a
// public clone() that returns an owning pointer of the class's own type, over
// the family's virtual cloneRecord() (whose covariant override makes the new
// record of the dynamic type). The family's root declares cloneRecord() itself.
#define ZARN_RECORD_CLONE(Class)                      \
public:                                               \
    std::unique_ptr<Class> clone() const {            \
        return std::unique_ptr<Class>(cloneRecord()); \
    }                                                 \
                                                      \
protected:                                            \
    Class* cloneRecord() const override {             \
        return new Class(*this);                      \
    }                                                 \
                                                      \
public:
