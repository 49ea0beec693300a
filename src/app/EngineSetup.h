#pragma once

namespace form {
class FormEngine;
}

namespace app {

// The word-processing engine the program runs on: the built-in one, offering what it read back.
form::FormEngine &engineFactory();

} // namespace app
