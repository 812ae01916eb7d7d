#version 120
#extension GL_EXT_gpu_shader4 : require
// Mesh pass, instanced level objects (program "deferred_instance", with the
// fragment shader of "deferred_bone"): one draw call for every instance of a
// mesh, each placed by its own world matrix in front of the view matrix that
// the model-view holds. The array's size is the renderer's
// Graphics::kInstanceArraySize; a draw never has more instances.
uniform mat4 instanceMatArr[64];
uniform int useLightShader;

varying vec3 eyeNormal;
varying float eyeDepth;      // linear eye depth over the far plane (5000)
varying vec4 lighting;

const float kFar = 5000.0;

vec4 FixedFunctionLights(vec3 position, vec3 normal) {
    vec4 sum = gl_FrontLightModelProduct.sceneColor;
    for (int i = 0; i < gl_MaxLights; ++i) {
        vec4 source = gl_LightSource[i].position;
        vec3 toLight = source.xyz - position * source.w;
        float distance = length(toLight);
        float attenuation = 1.0;
        if (source.w != 0.0)
            attenuation = 1.0 / max(gl_LightSource[i].constantAttenuation +
                                    distance * (gl_LightSource[i].linearAttenuation +
                                                distance * gl_LightSource[i].quadraticAttenuation), 1e-6);
        float facing = max(dot(normal, toLight / max(distance, 1e-6)), 0.0);
        sum += attenuation * (gl_FrontLightProduct[i].ambient + facing * gl_FrontLightProduct[i].diffuse);
    }
    return sum;
}

void main() {
    mat4 world = instanceMatArr[int(min(float(gl_InstanceID), 63.0))];
    vec4 eye = gl_ModelViewMatrix * (world * gl_Vertex);
    eyeNormal = normalize(gl_NormalMatrix * (mat3(world) * gl_Normal));
    eyeDepth = -eye.z / kFar;
    lighting = useLightShader != 0 ? FixedFunctionLights(eye.xyz, eyeNormal) : vec4(1.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eye;
}
