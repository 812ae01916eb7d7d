#version 120
#extension GL_EXT_gpu_shader4 : enable
// Polish pass: the combined picture with a faint film grain from the noise
// texture, moved every frame by the frame time "t" (it stands still while the
// game is paused). One texel of noise per pixel of the window; unfiltered
// fetches where the driver has them (see the combine pass).
uniform sampler2D combinedTex;  // unit 0
uniform sampler2D noiseTex;     // unit 1
uniform sampler2D depthTex;     // unit 2
uniform float t;                // seconds

const float kGrain = 0.035;
const float kNoiseSide = 128.0;

#ifdef GL_EXT_gpu_shader4
vec3 Picture() { return texelFetch2D(combinedTex, ivec2(gl_FragCoord.xy), 0).rgb; }
float Grain(vec2 shift) { return texelFetch2D(noiseTex, ivec2(mod(gl_FragCoord.xy + shift, kNoiseSide)), 0).r; }
#else
vec3 Picture() { return texture2D(combinedTex, gl_TexCoord[0].st, -16.0).rgb; }
float Grain(vec2 shift) { return texture2D(noiseTex, (gl_FragCoord.xy + shift) / kNoiseSide, -16.0).r; }
#endif

void main() {
    vec2 shift = floor(vec2(fract(t * 7.31), fract(t * 3.17)) * kNoiseSide);
    gl_FragColor = vec4(Picture() + (Grain(shift) - 0.5) * kGrain, 1.0);
}
