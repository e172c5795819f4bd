#pragma once

namespace vx::report {

// Several lambdas as one visitor of a page operation: std::visit(Overloaded{...}, op).
template<class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template<class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace vx::report
