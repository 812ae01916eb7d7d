#version 120
// Program "billboard": a sprite drawn straight to the screen. The quad arrives
// in the object's frame with its corners at +-0.5. The current colour carries
// the sprite's size, unclamped: red is its length along the object's x axis
// and green its width in world units.
void main() {
    // Turned about the object's own x axis only: a shot's x axis lies along
    // its flight, which must stay its flight on screen. Across it, the side
    // that faces the eye as far as that turn allows; a sprite seen exactly
    // along its axis shrinks to a point instead of taking a made-up side.
    vec4 centre = gl_ModelViewMatrix * vec4(0.0, 0.0, 0.0, 1.0);
    vec3 along = normalize((gl_ModelViewMatrix * vec4(1.0, 0.0, 0.0, 0.0)).xyz);
    vec3 across = cross(along, centre.xyz);
    across *= inversesqrt(max(dot(across, across), 1e-30));
    vec4 eye = centre + vec4(along * (gl_Vertex.x * gl_Color.r) + across * (gl_Vertex.y * gl_Color.g), 0.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ProjectionMatrix * eye;
}
