#version 120
// Program "particle": every particle is sent as four vertices at its
// position; this shader spreads them into a quad facing the viewer along the
// camera's "right" and "up" axes, sized and turned by the particle, and picks
// the corner's texture coordinate from the atlas table. Drawn straight to the
// screen; no pass of the deferred frame uses it.
uniform vec2 texCoord[96];  // 24 atlas cells of 4 corners
uniform vec4 up;
uniform vec4 right;
uniform vec4 view;
attribute vec4 particleAttrib;  // location 6: atlas cell, width, height, rotation (radians)
attribute vec4 cornerAttrib;    // location 7: corner number 0..3 in x

const int kLastCell = 23;

void main() {
    int corner = int(clamp(cornerAttrib.x + 0.5, 0.0, 3.0));
    int cell = int(clamp(particleAttrib.x + 0.5, 0.0, float(kLastCell)));
    // Corners 0..3 are the cell's bottom right, top right, top left and bottom left.
    vec2 offset = vec2(corner < 2 ? 0.5 : -0.5, (corner == 1 || corner == 2) ? 0.5 : -0.5);
    offset *= particleAttrib.yz;
    float c = cos(particleAttrib.w), s = sin(particleAttrib.w);
    offset = vec2(c * offset.x - s * offset.y, s * offset.x + c * offset.y);
    vec3 world = gl_Vertex.xyz + right.xyz * offset.x + up.xyz * offset.y;
    gl_TexCoord[0] = vec4(texCoord[cell * 4 + corner], 0.0, 1.0);
    gl_FrontColor = gl_Color;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(world, 1.0);
}
