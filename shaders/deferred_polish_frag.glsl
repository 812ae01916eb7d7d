#version 120
// Polish pass: the combined picture with a faint film grain from the noise
// texture, moved every frame by the frame time "t" (it stands still while the
// game is paused). One pixel of noise per pixel of the window.
uniform sampler2D combinedTex;  // unit 0
uniform sampler2D noiseTex;     // unit 1
uniform sampler2D depthTex;     // unit 2
uniform float t;                // seconds

const float kGrain = 0.035;
const float kNoiseSide = 128.0;

void main() {
    vec3 colour = texture2D(combinedTex, gl_TexCoord[0].st).rgb;
    vec2 grainAt = gl_FragCoord.xy / kNoiseSide + vec2(fract(t * 7.31), fract(t * 3.17));
    float grain = texture2D(noiseTex, grainAt).r - 0.5;
    gl_FragColor = vec4(colour + grain * kGrain, 1.0);
}
