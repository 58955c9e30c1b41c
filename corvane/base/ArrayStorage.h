// The std::vector that holds the elements of a CArray, for the library's own
// readers (internal to the library, not exported): a reader gathers what it
// reads in a vector of its own and, once the whole file was read, hands the
// elements over to the caller's array without copying them.
#pragma once
#include "corvane/CorvaneDefs.h"

#include <vector>

namespace array_storage {

template <class T, class A> std::vector<T>& ElementsOf(CArray<T, A>& array)
{
    // The elements are a protected member of the array; a pointer to it is
    // taken through a class derived from the array's.
    struct Access : CArray<T, A> {
        static std::vector<T> CArray<T, A>::*Elements() { return &Access::m_data; }
    };
    return array.*Access::Elements();
}

// The two arrays exchange their elements.
template <class T, class A> void Exchange(CArray<T, A>& a, CArray<T, A>& b)
{
    ElementsOf(a).swap(ElementsOf(b));
}

// The array takes the elements; `elements` is left with the array's old ones.
template <class T, class A> void HandOver(std::vector<T>& elements, CArray<T, A>& array)
{
    ElementsOf(array).swap(elements);
}

} // namespace array_storage
