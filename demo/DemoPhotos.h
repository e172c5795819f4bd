#pragma once

namespace vx {
class Connection;
}

namespace demo {

// Gives the first few articles of the sample shop a photo: small generated pictures in the user
// folder's "Imagenes" (with the shop's "SinImg.bmp"), named in the articles as the shop's paths.
// Files already there are kept. Throws DbError, or std::runtime_error when a picture cannot be
// written.
void addPhotos(vx::Connection &connection);

}  // namespace demo
