#version 120
#extension GL_EXT_gpu_shader4 : enable
// Combine pass: the geometry colour hazed with its linear depth (the sky at
// the far plane stays clear), then the particle target laid over it by its
// coverage. Three texel reads and a few operations per pixel: it runs on a
// software rasteriser, where an unfiltered fetch costs a third of a filtered
// read.
uniform sampler2D geomTex;      // unit 0
uniform sampler2D depthTex;     // unit 1; read at mip level 0 only
uniform sampler2D normalTex;    // unit 2
uniform sampler2D particleTex;  // unit 3
uniform mat4 perspMat;          // the projection, for passes that unproject

const vec3 kHaze = vec3(0.80, 0.58, 0.52);  // the dust of the sky
const float kHazeMost = 0.5;

// The target's texel under this pixel, at level 0: the quad covers the
// target texel for pixel. Without the extension a bias far below any level
// selects level 0 (GLSL 1.20 fragment shaders have no explicit level), which
// at texel centres reads the same value.
#ifdef GL_EXT_gpu_shader4
vec4 Texel(sampler2D target) { return texelFetch2D(target, ivec2(gl_FragCoord.xy), 0); }
#else
vec4 Texel(sampler2D target) { return texture2D(target, gl_TexCoord[0].st, -16.0); }
#endif

float UnpackDepth(vec3 bytes) { return dot(bytes, vec3(1.0, 1.0 / 255.0, 1.0 / 65025.0)); }

void main() {
    vec3 scene = Texel(geomTex).rgb;
    float depth = UnpackDepth(Texel(depthTex).rgb);
    float haze = depth < 0.9999 ? kHazeMost * smoothstep(0.04, 0.5, depth) : 0.0;
    vec4 particles = Texel(particleTex);
    gl_FragColor = vec4(mix(mix(scene, kHaze, haze), particles.rgb, particles.a), 1.0);
}
