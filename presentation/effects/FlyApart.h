#pragma once

namespace cocos2d {
class Node;
}

// The fly-apart motion of one piece of a body that bursts: a random spin, a
// throw away from where it was and a hop that ends in a fall while it fades
// out, all within 0.3 to 1.0 s. Each call starts the motion on the piece
// itself (cascading its opacity to its children), drawing from the visuals'
// random engine. Main thread only.
//
// | axis of the motion | 2D                 | 3D                                |
// |--------------------|--------------------|-----------------------------------|
// | duration d         | 0.3 + 0.7 a        | 0.3 + 0.7 a                       |
// | spin (degrees)     | 1080 r1 r2         | (1080 r1 r4, 1080 r1 r3, 1080 r1 r2) |
// | throw per axis     | 250 r1 r + 125 sgn(r) | 400 r1 r + 200 sgn(r)          |
// | hop height hh      | 50 + 150 a         | 100 + 300 a                       |
// | fall after the hop | 1.5 hh in 2d/3, fading out (ease in, rate 8) | the same |
// with draws r in [-1, 1], never 0, and a = |r1|.

// A 2D piece: four draws.
void createFlyApartAction2D(cocos2d::Node* piece);
// A 3D piece: seven draws; the spin turns all three axes and the throw and
// hop move in 3D.
void createFlyApartAction3D(cocos2d::Node* piece);
