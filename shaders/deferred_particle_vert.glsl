#version 120
// Particle target (program "deferred_particle"): as "particle", and the
// quad's linear depth and clip position go to the fragment shader, which
// compares them with the geometry buffer's depth.
uniform vec2 texCoord[96];  // 24 atlas cells of 4 corners
uniform vec4 up;
uniform vec4 right;
uniform vec4 view;
attribute vec4 particleAttrib;  // location 6: atlas cell, width, height, rotation (radians)
attribute vec4 cornerAttrib;    // location 7: corner number 0..3 in x

varying vec4 clipPosition;
varying float eyeDepth;  // linear eye depth over the far plane (5000)

const int kLastCell = 23;
const float kFar = 5000.0;

void main() {
    int corner = int(clamp(cornerAttrib.x + 0.5, 0.0, 3.0));
    int cell = int(clamp(particleAttrib.x + 0.5, 0.0, float(kLastCell)));
    // Corners 0..3 are the cell's bottom right, top right, top left and bottom left.
    vec2 offset = vec2(corner < 2 ? 0.5 : -0.5, (corner == 1 || corner == 2) ? 0.5 : -0.5);
    offset *= particleAttrib.yz;
    float c = cos(particleAttrib.w), s = sin(particleAttrib.w);
    offset = vec2(c * offset.x - s * offset.y, s * offset.x + c * offset.y);
    vec4 eye = gl_ModelViewMatrix * vec4(gl_Vertex.xyz + right.xyz * offset.x + up.xyz * offset.y, 1.0);
    eyeDepth = -eye.z / kFar;
    gl_TexCoord[0] = vec4(texCoord[cell * 4 + corner], 0.0, 1.0);
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eye;
    clipPosition = gl_Position;
}
