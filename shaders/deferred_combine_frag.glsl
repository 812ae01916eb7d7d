#version 120
// Combine pass: the geometry colour hazed with its linear depth (the sky at
// the far plane stays clear), then the particle target laid over it by its
// coverage. Two texture reads and a few operations per pixel: it runs on a
// software rasteriser.
uniform sampler2D geomTex;      // unit 0
uniform sampler2D depthTex;     // unit 1; read at mip level 0 only
uniform sampler2D normalTex;    // unit 2
uniform sampler2D particleTex;  // unit 3
uniform mat4 perspMat;          // the projection, for passes that unproject

const vec3 kHaze = vec3(0.80, 0.58, 0.52);  // the dust of the sky
const float kHazeMost = 0.5;

float UnpackDepth(vec3 bytes) { return dot(bytes, vec3(1.0, 1.0 / 255.0, 1.0 / 65025.0)); }

void main() {
    vec2 uv = gl_TexCoord[0].st;
    vec3 scene = texture2D(geomTex, uv).rgb;
    // A bias far below any level selects level 0: GLSL 1.20 fragment shaders
    // have no explicit level, and the mipmaps of packed depth mean nothing.
    float depth = UnpackDepth(texture2D(depthTex, uv, -16.0).rgb);
    float haze = depth < 0.9999 ? kHazeMost * smoothstep(0.04, 0.5, depth) : 0.0;
    vec4 particles = texture2D(particleTex, uv);
    gl_FragColor = vec4(mix(mix(scene, kHaze, haze), particles.rgb, particles.a), 1.0);
}
