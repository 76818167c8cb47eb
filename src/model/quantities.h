// Lookup of model quantities by name: where an element of a named scalar or
// array lies in the model state record, for the changes of input values
// that the command line asks for.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Model;

namespace quantities {

enum class Kind { Int, Real, Double };

// One element of a named quantity.
struct Element {
    Kind kind = Kind::Int;
    std::size_t offset = 0;  // of the element in Model
    std::size_t size = 0;    // bytes
};

enum class Found { Ok, UnknownName, WrongIndexCount, IndexOutOfRange };

// The element name[idx[0]][idx[1]]...; rank and capacities of the quantity
// are given back for messages (also when an index is out of range).
Found find(const std::string& name, const std::vector<int>& idx, Element& out, std::vector<int>& caps);

// The quantity and indices of the element at `offset` in Model; false for
// an offset outside every named quantity.
bool elementAt(std::size_t offset, std::string& name, std::vector<int>& idx, Element& out);

// The element's name as the command line takes it: "prfE[1][1]".
std::string elementName(const std::string& name, const std::vector<int>& idx);

// Up to `most` names of quantities that are close to name (by edit
// distance, case ignored), closest first.
std::vector<std::string> closeNames(const std::string& name, std::size_t most = 5);

// The offset of the place p in the model state m; false for a place
// outside it.
bool offsetIn(const Model& m, const void* p, std::size_t& offset);

// The element's value as a double, and its bytes.
double value(const Model& m, const Element& e);
const unsigned char* bytes(const Model& m, const Element& e);
unsigned char* bytes(Model& m, const Element& e);

}  // namespace quantities
